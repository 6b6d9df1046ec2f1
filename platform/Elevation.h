// Administrator rights on Windows Vista and later: whether this process has them, and starting
// a program with them (the system asks the user's permission first).
#pragma once

#include "platform/HandleOwners.h"

#include <windows.h>

#include <string>

// Whether the process runs with an administrator's full token.
bool ProcessIsElevated();

// Starts `program` (UTF-8 path) with `parameters`, elevated when this process is not, and hands
// back its process handle. False with the system's error code in
// `error`: ERROR_CANCELLED when the user did not give permission.
bool StartElevated(HWND owner, const std::string& program, const std::string& parameters, KernelHandle& process,
                   DWORD& error);
