// The time zone as Windows reports it.
#pragma once

#include "platform/TimeZone.h"

class SystemTimeZone : public TimeZoneSource {
public:
    TimeZoneInfo current() override;
};
