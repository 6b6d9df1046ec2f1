// Reading the program's own resources.
#pragma once

#include <windows.h>

#include <string>

// A string-table entry of `module` (the program when null); empty when missing.
std::string LoadResourceString(UINT id, HINSTANCE module = nullptr);
