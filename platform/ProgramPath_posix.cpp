#include "platform/ProgramPath.h"

#include <climits>
#include <unistd.h>

std::string ProgramPath() {
    char path[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
    return std::string(path, length > 0 ? std::size_t(length) : 0);
}
