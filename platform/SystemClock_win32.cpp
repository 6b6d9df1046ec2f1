#include "platform/SystemClock.h"

#include <windows.h>

namespace {

CivilTime FromSystemTime(const SYSTEMTIME& t) {
    CivilTime c;
    c.year = t.wYear, c.month = t.wMonth, c.day = t.wDay, c.dayOfWeek = t.wDayOfWeek;
    c.hour = t.wHour, c.minute = t.wMinute, c.second = t.wSecond;
    return c;
}

}  // namespace

CivilTime SystemClock::utcNow() {
    SYSTEMTIME t;
    GetSystemTime(&t);
    return FromSystemTime(t);
}

double SecondFraction() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    const unsigned long long ticks = (unsigned long long)(now.dwHighDateTime) << 32 | now.dwLowDateTime;  // 100 ns
    return double(ticks % 10000000) / 1e7;
}

CivilTime SystemClock::localNow() {
    SYSTEMTIME t;
    GetLocalTime(&t);
    return FromSystemTime(t);
}
