#include "app/ProgramFiles.h"

std::string FileBesideProgram(const std::string& programPath, const std::string& name) {
    const std::size_t separator = programPath.find_last_of("\\/");
    const std::string directory =
        separator == std::string::npos ? std::string() : programPath.substr(0, separator + 1);
    return directory + name;
}
