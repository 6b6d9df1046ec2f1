// Paths of the files kept beside the program.
#pragma once

#include <string>

// The program file's path cut after its last backslash (or slash), with `name` appended.
std::string FileBesideProgram(const std::string& programPath, const std::string& name);

// A read-only data file shipped with the program: the one beside the program when it can be
// opened there, else `name` as it stands (found in the current directory, or not at all).
std::string DataFilePath(const std::string& programPath, const std::string& name);
