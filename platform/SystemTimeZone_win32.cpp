#include "platform/SystemTimeZone.h"

#include <windows.h>

namespace {

std::u16string ZoneName(const WCHAR (&name)[32]) {
    std::u16string text;
    for (std::size_t i = 0; i < 32 && name[i] != 0; ++i) text.push_back(char16_t(name[i]));
    return text;
}

}  // namespace

TimeZoneInfo SystemTimeZone::current() {
    TIME_ZONE_INFORMATION zone = {};
    DWORD id = GetTimeZoneInformation(&zone);
    TimeZoneInfo info;
    info.bias = zone.Bias;
    info.daylightBias = zone.DaylightBias;
    info.daylightInForce = id == TIME_ZONE_ID_DAYLIGHT;
    info.standardName = ZoneName(zone.StandardName);
    info.daylightName = ZoneName(zone.DaylightName);
    return info;
}
