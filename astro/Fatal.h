// Messages of the astronomy routines, and their fatal errors.
#pragma once

#include <cstdio>

// Formats a message (at most 1023 characters) and writes it to `stream`.
void LogMessage(FILE* stream, const char* format, ...);

// Writes "ERROR #number text" to the standard error stream and ends the process with status 1.
[[noreturn]] void FatalError(int number, const char* text);

// Writes `text` to the standard error stream and ends the process with status 1.
[[noreturn]] void FatalMessage(const char* text);

// A function the two above call after their message, before the process ends. A harness that
// must go on after a fatal error (a fuzzer) leaves it by throwing; the program sets none.
using FatalHook = void (*)();
void SetFatalHook(FatalHook hook);
