// A trace of the Win32 calls that failed: one line each (when, which thread, what was
// attempted, the system's reason) to the debugger's output, and, only once a program has
// switched it on, appended to a log file. The last-error value is left as it was.
#pragma once

#include <string>

// `what` failed for the reason GetLastError() gives.
void TraceFailure(const std::string& what);
// `what` failed with a Win32 error code or an HRESULT.
void TraceFailure(const std::string& what, unsigned long error);

// From now on the lines are appended to the file at `path` (UTF-8) too, with a first line
// saying the log began; the file stops growing at kFailureLogLimit bytes, and one over half
// that size when the log is switched on starts over. Empty: no file.
void SetFailureLogFile(const std::string& path);
constexpr long long kFailureLogLimit = 1 << 20;
