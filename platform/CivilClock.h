// The computer's clock as the program sees it: UTC and local calendar time.
#pragma once

#include <cstdint>

struct CivilTime {
    int32_t year = 0, month = 0, day = 0, dayOfWeek = 0;  // dayOfWeek 0 = Sunday
    int32_t hour = 0, minute = 0, second = 0;
};

class CivilClock {
public:
    virtual ~CivilClock() = default;
    virtual CivilTime utcNow() = 0;
    virtual CivilTime localNow() = 0;
};
