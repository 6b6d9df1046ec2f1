#include "platform/SystemTimeZone.h"

#include <ctime>

TimeZoneInfo SystemTimeZone::current() {
    const std::time_t now = std::time(nullptr);
    std::tm local = {};
    localtime_r(&now, &local);
    TimeZoneInfo info;
    info.bias = static_cast<int32_t>(-local.tm_gmtoff / 60);  // daylight saving included
    for (const char* c = local.tm_zone ? local.tm_zone : ""; *c; ++c) info.standardName.push_back(char16_t(*c));
    return info;
}
