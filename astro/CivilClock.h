// The computer's clock as the astronomy engine sees it: UTC and local calendar time.
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

// A clock stopped at one UTC instant, with local time = UTC - biasMinutes.
class FixedClock : public CivilClock {
public:
    FixedClock(const CivilTime& utc, int32_t biasMinutes);
    CivilTime utcNow() override { return utc_; }
    CivilTime localNow() override { return local_; }

private:
    CivilTime utc_, local_;
};

// The calendar time `minutes` minutes after `time` (day of week included).
CivilTime AddMinutes(const CivilTime& time, int32_t minutes);
