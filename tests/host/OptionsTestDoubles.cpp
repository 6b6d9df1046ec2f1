#include "OptionsTestDoubles.h"

#include <atomic>
#include <fstream>
#include <iterator>
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
