#include "app/FramePacer.h"

#include <algorithm>
#include <cmath>

double FramePacer::interval(double cpuSeconds, double clockSeconds) {
    const double passed = clockSeconds - clockAtStart_;
    // A first call, a count gone back, or a pause in the animation (its CPU would not be the
    // frames'): measure afresh.
    if (!started_ || passed < 0 || passed > 3 || cpuSeconds < cpuAtStart_) {
        started_ = true;
        cpuAtStart_ = cpuSeconds;
        clockAtStart_ = clockSeconds;
        return interval_;
    }
    if (passed < 1.0) return interval_;
    // The share used at this interval; the cost of a frame stays about the same, so the share
    // goes as the inverse of the interval.
    const double used = (cpuSeconds - cpuAtStart_) / passed;
    const double wanted = std::clamp(interval_ * used / share_, period_, longest_);
    interval_ = std::min(longest_, std::ceil(wanted / quantum_ - 1e-9) * quantum_);
    cpuAtStart_ = cpuSeconds;
    clockAtStart_ = clockSeconds;
    return interval_;
}
