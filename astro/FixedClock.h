// A clock stopped at one instant, for the command-line programs and the tests; the calendar
// arithmetic it needs.
#pragma once

#include "platform/CivilClock.h"

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
