#include "app/ProgramFiles.h"

#include <cstdio>

std::string FileBesideProgram(const std::string& programPath, const std::string& name) {
    const std::size_t separator = programPath.find_last_of("\\/");
    const std::string directory =
        separator == std::string::npos ? std::string() : programPath.substr(0, separator + 1);
    return directory + name;
}

std::string DataFilePath(const std::string& programPath, const std::string& name) {
    const std::string beside = FileBesideProgram(programPath, name);
    if (std::FILE* file = std::fopen(beside.c_str(), "rb")) {
        std::fclose(file);
        return beside;
    }
    return name;
}
