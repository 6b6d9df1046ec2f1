#include "timesync/SystemClockSetter.h"

#include <windows.h>

#include <ctime>

namespace {

// Enables the system-time privilege in the process's token; nothing happens where the account
// does not hold it (the setting then fails with the system's reason).
void EnableSystemTimePrivilege() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return;
    TOKEN_PRIVILEGES privileges = {1};
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (LookupPrivilegeValueA(nullptr, "SeSystemtimePrivilege", &privileges.Privileges[0].Luid)) {
        AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
    }
    CloseHandle(token);
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

int64_t SystemClockSetter::now() { return int64_t(std::time(nullptr)); }

bool SystemClockSetter::set(int64_t unixTime, std::string& failure) {
    // Set in UTC: the system's own conversion from local time can be an hour out on the days
    // daylight saving starts or ends.
    const std::time_t t = std::time_t(unixTime);
    const std::tm* utc = std::gmtime(&t);
    if (utc == nullptr) {
        failure = SystemMessage(ERROR_INVALID_PARAMETER);
        return false;
    }
    SYSTEMTIME target = {};
    target.wYear = WORD(utc->tm_year + 1900);
    target.wMonth = WORD(utc->tm_mon + 1);
    target.wDayOfWeek = WORD(utc->tm_wday);
    target.wDay = WORD(utc->tm_mday);
    target.wHour = WORD(utc->tm_hour);
    target.wMinute = WORD(utc->tm_min);
    target.wSecond = WORD(utc->tm_sec);
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
