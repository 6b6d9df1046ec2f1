#include "app/FramePacer.h"

#include <algorithm>

double FramePacer::interval(double cpuSeconds, double clockSeconds) {
    const double passed = clockSeconds - clockAtStart_;
    if (!started_ || passed < 0 || cpuSeconds < cpuAtStart_) {
        started_ = true;
        cpuAtStart_ = cpuSeconds;
        clockAtStart_ = clockSeconds;
        return interval_;
    }
    if (passed < 1.0) return interval_;
    // The share used at this interval; the cost of a frame stays about the same, so the share
    // goes as the inverse of the interval.
    const double used = (cpuSeconds - cpuAtStart_) / passed;
    interval_ = std::clamp(interval_ * used / share_, period_, longest_);
    cpuAtStart_ = cpuSeconds;
    clockAtStart_ = clockSeconds;
    return interval_;
}
