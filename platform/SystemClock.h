// The computer's clock: UTC and local calendar time.
#pragma once

#include "astro/CivilClock.h"

class SystemClock : public CivilClock {
public:
    CivilTime utcNow() override;
    CivilTime localNow() override;
};
