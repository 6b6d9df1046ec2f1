// The PC clock itself, set through the system: the system-time privilege is enabled where the
// account holds it, and a refusal comes back with the system's reason.
#pragma once

#include "timesync/TimeSyncExchange.h"

class SystemClockSetter : public ClockSetter {
public:
    double now() override;
    bool set(double unixTime, std::string& failure) override;
};

// The performance counter of the system.
class SystemPerformanceCounter : public PerformanceCounter {
public:
    int64_t counts() override;
    int64_t countsPerSecond() override;
};
