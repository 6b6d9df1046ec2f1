#include "platform/SystemClock.h"

#include <ctime>

namespace {

CivilTime FromTm(const std::tm& t) {
    CivilTime c;
    c.year = t.tm_year + 1900, c.month = t.tm_mon + 1, c.day = t.tm_mday, c.dayOfWeek = t.tm_wday;
    c.hour = t.tm_hour, c.minute = t.tm_min, c.second = t.tm_sec > 59 ? 59 : t.tm_sec;
    return c;
}

}  // namespace

CivilTime SystemClock::utcNow() {
    const std::time_t now = std::time(nullptr);
    std::tm t = {};
    gmtime_r(&now, &t);
    return FromTm(t);
}

double SecondFraction() {
    timespec now = {};
    clock_gettime(CLOCK_REALTIME, &now);
    return double(now.tv_nsec) / 1e9;
}

CivilTime SystemClock::localNow() {
    const std::time_t now = std::time(nullptr);
    std::tm t = {};
    localtime_r(&now, &t);
    return FromTm(t);
}
