#include "platform/FailureTrace.h"

#include "platform/HandleOwners.h"
#include "platform/RecursiveLock.h"
#include "platform/SystemError.h"
#include "platform/WideText.h"

#include <windows.h>

#include <cstdio>
#include <mutex>

namespace {

RecursiveLock& LogLock() {
    static RecursiveLock lock;
    return lock;
}

std::wstring& LogPath() {
    static std::wstring path;
    return path;
}

std::string Stamped(const std::string& text) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "%04u-%02u-%02u %02u:%02u:%02u.%03u [%lu] ", now.wYear, now.wMonth,
                  now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds, GetCurrentThreadId());
    return stamp + text + "\r\n";
}

// Appends `line` to the log file while it is below its limit. The file is opened for each
// line: failures are rare, and nothing is held open between them.
void AppendToLog(const std::string& line) {
    std::lock_guard<RecursiveLock> hold(LogLock());
    if (LogPath().empty()) return;
    const FileHandle file(CreateFileW(LogPath().c_str(), FILE_APPEND_DATA,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return;
    LARGE_INTEGER size = {};
    DWORD written = 0;
    if (GetFileSizeEx(file.get(), &size) && size.QuadPart + LONGLONG(line.size()) <= kFailureLogLimit) {
        WriteFile(file.get(), line.data(), DWORD(line.size()), &written, nullptr);
    }
}

void Trace(const std::string& text) {
    const std::string line = Stamped(text);
    OutputDebugStringW(WideFromUtf8(line).c_str());
    AppendToLog(line);
}

}  // namespace

void TraceFailure(const std::string& what) {
    TraceFailure(what, GetLastError());
}

void TraceFailure(const std::string& what, unsigned long error) {
    const DWORD lastError = GetLastError();
    char code[16];
    std::snprintf(code, sizeof code, error > 0xFFFF ? "0x%08lX" : "%lu", error);
    Trace(what + ": " + SystemErrorText(error) + " (" + code + ")");
    SetLastError(lastError);
}

void SetFailureLogFile(const std::string& path) {
    {
        std::lock_guard<RecursiveLock> hold(LogLock());
        LogPath() = path.empty() ? std::wstring() : WideFromUtf8(path);
    }
    if (path.empty()) return;
    // The folder is made when missing (one level), as the user's other files' are.
    const std::size_t cut = path.find_last_of("\\/");
    if (cut != std::string::npos) CreateDirectoryW(WideFromUtf8(path.substr(0, cut)).c_str(), nullptr);
    // A log that reached its limit in an earlier run starts over, so that this run's lines are kept.
    WIN32_FILE_ATTRIBUTE_DATA found;
    const std::wstring wide = WideFromUtf8(path);
    if (GetFileAttributesExW(wide.c_str(), GetFileExInfoStandard, &found) &&
        (LONGLONG(found.nFileSizeHigh) << 32 | found.nFileSizeLow) > kFailureLogLimit / 2) {
        DeleteFileW(wide.c_str());
    }
    AppendToLog(Stamped("The log of failures begins."));
}
