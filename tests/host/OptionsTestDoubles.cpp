#include "OptionsTestDoubles.h"

#include <algorithm>
#include <atomic>
#include <csignal>
#include <fstream>
#include <iterator>
#include <sys/resource.h>
#include <unistd.h>

ProgramFolder::ProgramFolder() {
    static std::atomic<int> counter{0};
    dir = std::filesystem::temp_directory_path() /
          ("solvane-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
}

ProgramFolder::~ProgramFolder() { std::filesystem::remove_all(dir); }

void ProgramFolder::writeFile(const std::filesystem::path& path,
                              const std::vector<char>& bytes) const {
    std::ofstream(path, std::ios::binary).write(bytes.data(), bytes.size());
}

std::vector<char> ProgramFolder::readFile(const std::filesystem::path& path) const {
    std::ifstream file(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(file), {});
}

std::vector<std::string> ProgramFolder::names() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

FullDisk::FullDisk() {
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit_ = limit.rlim_cur;
    limit.rlim_cur = 0;
    setrlimit(RLIMIT_FSIZE, &limit);
}

FullDisk::~FullDisk() {
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = limit_;
    setrlimit(RLIMIT_FSIZE, &limit);
}
