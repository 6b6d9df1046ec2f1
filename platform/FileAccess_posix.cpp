#include "platform/FileAccess.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool WriteAll(int fd, const void* data, std::size_t size) {
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        ssize_t written = ::write(fd, bytes, size);
        if (written <= 0) return false;
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

// Tries at new random names before a write gives up on making its temporary file.
constexpr int kTemporaryNameTries = 16;

// Makes the folder that holds `path` when it is missing.
void MakeParentFolder(const std::string& path) {
    const std::size_t separator = path.find_last_of('/');
    if (separator == std::string::npos || separator == 0) return;
    ::mkdir(path.substr(0, separator).c_str(), 0755);
}

}  // namespace

FileReadResult ReadFileOfExactSize(const std::string& path, void* buffer, std::size_t size,
                                   std::string* failure) {
    int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR) return FileReadResult::Missing;
        if (failure != nullptr) *failure = std::strerror(errno);
        return FileReadResult::Unreadable;
    }
    struct stat info {};
    FileReadResult result = FileReadResult::WrongSize;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
        static_cast<std::size_t>(info.st_size) == size &&
        ::read(fd, buffer, size) == static_cast<ssize_t>(size)) {
        result = FileReadResult::Read;
    }
    ::close(fd);
    return result;
}

std::FILE* OpenFileForReading(const std::string& path) { return std::fopen(path.c_str(), "rb"); }

bool FileExists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool ReplaceFileAtomically(const std::string& path,
                           const std::function<bool(const FileChunkWriter& write)>& produce,
                           std::string* failure) {
    MakeParentFolder(path);
    std::random_device random;
    std::string temporary;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < kTemporaryNameTries; ++attempt) {
        temporary = TemporaryFileName(path, random());
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) {
        if (failure != nullptr) *failure = std::strerror(errno);
        return false;
    }
    errno = 0;
    const FileChunkWriter write = [fd](const void* data, std::size_t size) { return WriteAll(fd, data, size); };
    bool written = produce(write) && ::fsync(fd) == 0;
    written = (::close(fd) == 0) && written;
    if (written && std::rename(temporary.c_str(), path.c_str()) == 0) return true;
    const int error = errno;
    ::unlink(temporary.c_str());
    if (failure != nullptr) *failure = error != 0 ? std::strerror(error) : "the data could not be written";
    return false;
}
