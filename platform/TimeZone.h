// The system's time-zone settings behind an interface.
#pragma once

#include <cstdint>
#include <string>

struct TimeZoneInfo {
    int32_t bias = 0;          // minutes to add to standard local time to get UTC
    int32_t daylightBias = 0;  // minutes added to `bias` while daylight saving is in force
    bool daylightInForce = false;
    std::u16string standardName;
    std::u16string daylightName;
};

class TimeZoneSource {
public:
    virtual ~TimeZoneSource() = default;
    virtual TimeZoneInfo current() = 0;
};
