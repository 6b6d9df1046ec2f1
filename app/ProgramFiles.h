// Paths of the files kept beside the program.
#pragma once

#include <string>

// The program file's path cut after its last backslash (or slash), with `name` appended.
std::string FileBesideProgram(const std::string& programPath, const std::string& name);
