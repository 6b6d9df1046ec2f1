// A console program's arguments in UTF-8, whatever the system's code page.
#pragma once

#include <string>
#include <vector>

// The arguments after the program's name. Windows takes them from the wide command line
// (main's argv holds them in the code page, which cannot spell every file name).
std::vector<std::string> ProgramArguments(int argc, char** argv);
