// The program's help pages, in the "help" folder beside it, and its web pages, opened with
// the shell; the user is told when the shell cannot open one, and why.
#pragma once

#include <windows.h>

#include <string>

// Opens `target` (a file path or a web address, UTF-8) as a double click would.
void OpenPage(const std::string& target, int show);

// Opens `relativePath` (such as "\help\general.htm") beside the program.
void OpenHelpPage(const char* relativePath, int show);
