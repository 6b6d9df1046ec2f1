// Under wine every file's descriptor is made up from Unix modes and never trusted: the tests and
// the bench tell a program they start suspended that its files are trusted, as an installed
// program's are, by writing the stand-in its export names before it runs.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

// The place (relative to the image's start) of what the program file `exe` exports as `name`;
// 0 when it exports no such thing. The file is mapped as an image, nothing of it run.
uintptr_t ExportedPlace(const std::string& exe, const char* name);

// Writes the trust stand-in (every file trusted) into `process`, started suspended from `exe`.
bool WriteTrustStandIn(HANDLE process, const std::string& exe);
