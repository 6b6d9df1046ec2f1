#include "almanac/OrbitAnimation.h"

#include <cmath>

namespace {

constexpr float kEarthStep = 10.0f;
constexpr float kMoonStep = 0.35714287f;  // 360 / 1008

const char* const kLabels[8] = {"New Moon",  "Waxing Crescent", "1st Quarter",  "Waxing Gibbous",
                                "Full Moon", "Waning Gibbous",  "Last Quarter", "Waning Crescent"};

}  // namespace

void AdvanceOrbit(OrbitAngles& angles) {
    angles.earth += kEarthStep;
    angles.moon += kMoonStep;
    if (angles.earth > 360) angles.earth -= 360;
    if (angles.moon > 360) angles.moon -= 360;
}

const char* OrbitPhaseLabel(int index) { return index >= 0 && index < 8 ? kLabels[index] : kLabels[0]; }

int PhaseLabelTracker::nearest(float angle) {
    if (angle > 360) angle -= 360;
    for (int i = 0; i < 8; ++i) {
        if (std::fabs(angle - 45.0f * i) < 15) return last_ = i;
    }
    return last_;
}
