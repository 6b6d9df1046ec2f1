// Handing a file or an address to the shell, which opens it with the user's program for it.
#pragma once

#include <windows.h>

#include <string>

// Opens `target` (a path or a URL, UTF-8) as a double click would. False when the shell could
// not, with its reason in `failure`.
bool OpenWithShell(HWND owner, const std::string& target, int show, std::string* failure);
