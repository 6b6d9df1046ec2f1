// The computer's clock: UTC and local calendar time.
#pragma once

#include "platform/CivilClock.h"

class SystemClock : public CivilClock {
public:
    CivilTime utcNow() override;
    CivilTime localNow() override;
};
