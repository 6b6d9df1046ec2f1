// The computer's clock: UTC and local calendar time.
#pragma once

#include "platform/CivilClock.h"

class SystemClock : public CivilClock {
public:
    CivilTime utcNow() override;
    CivilTime localNow() override;
};

// How far the computer's clock is into its current second, 0 to 1.
double SecondFraction();
