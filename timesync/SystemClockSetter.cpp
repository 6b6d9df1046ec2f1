#include "timesync/SystemClockSetter.h"

#include "platform/HandleOwners.h"

#include <windows.h>

#include <cmath>
#include <cstdint>

namespace {

// Enables the system-time privilege in the process's token; nothing happens where the account
// does not hold it (the setting then fails with the system's reason).
void EnableSystemTimePrivilege() {
    HANDLE opened = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &opened)) return;
    const KernelHandle token(opened);
    TOKEN_PRIVILEGES privileges = {1};
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (LookupPrivilegeValueA(nullptr, "SeSystemtimePrivilege", &privileges.Privileges[0].Luid)) {
        AdjustTokenPrivileges(token.get(), FALSE, &privileges, 0, nullptr, nullptr);
    }
}

std::string SystemMessage(DWORD code) {
    char text[512] = "";
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                        text, sizeof text, nullptr);
    std::string message(text, length);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' ')) {
        message.pop_back();
    }
    if (message.empty()) message = "error " + std::to_string(code);
    return message;
}

}  // namespace

namespace {

// FILETIME counts 100-nanosecond steps since 1601.
constexpr double kUnixEpochInFileTime = 116444736000000000.0;

}  // namespace

double SystemClockSetter::now() {
    // The precise reading where the system has it (Windows 8 on); the exchange's timeline
    // carries either on with the performance counter.
    using ReadTime = void(WINAPI*)(FILETIME*);
    static const auto precise = reinterpret_cast<ReadTime>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetSystemTimePreciseAsFileTime")));
    FILETIME now = {};
    if (precise != nullptr) {
        precise(&now);
    } else {
        GetSystemTimeAsFileTime(&now);
    }
    const uint64_t steps = uint64_t(now.dwHighDateTime) << 32 | now.dwLowDateTime;
    return (double(steps) - kUnixEpochInFileTime) / 1e7;
}

bool SystemClockSetter::set(double unixTime, std::string& failure) {
    // Set in UTC: the system's own conversion from local time can be an hour out on the days
    // daylight saving starts or ends.
    const int64_t steps = FileTimeOfUnixTime(unixTime);
    SYSTEMTIME target = {};
    if (steps < 0) {
        failure = SystemMessage(ERROR_INVALID_PARAMETER);
        return false;
    }
    const FILETIME time = {DWORD(uint64_t(steps)), DWORD(uint64_t(steps) >> 32)};
    if (!FileTimeToSystemTime(&time, &target)) {
        failure = SystemMessage(GetLastError());
        return false;
    }
    EnableSystemTimePrivilege();
    if (SetSystemTime(&target)) return true;
    failure = SystemMessage(GetLastError());
    return false;
}

int64_t SystemPerformanceCounter::counts() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

int64_t SystemPerformanceCounter::countsPerSecond() {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return frequency.QuadPart;
}
