#include "render/GlobeReuse.h"

#include <cmath>
#include <cstring>

namespace {

constexpr double kEarthTurnRadiansPerSecond = 7.2921159e-5;
constexpr double kLargestShiftPixels = 0.25;
constexpr double kSecondsPerDay = 86400.0;

}  // namespace

double GlobeStillSeconds(double radiusPixels) {
    return kLargestShiftPixels / (radiusPixels * kEarthTurnRadiansPerSecond);
}

bool GlobeStillTrue(const SceneInputs& drawn, const SceneInputs& now, double radiusPixels) {
    const bool sameView = drawn.viewpoint == now.viewpoint && drawn.displayFlags == now.displayFlags &&
                          drawn.homeLongitude == now.homeLongitude &&
                          drawn.homeLatitude == now.homeLatitude && drawn.spinAngle == now.spinAngle &&
                          drawn.twilightBands == now.twilightBands &&
                          std::memcmp(drawn.drag, now.drag, sizeof drawn.drag) == 0;
    const double apart = std::fabs(now.julianDate - drawn.julianDate) * kSecondsPerDay;
    return sameView && apart < GlobeStillSeconds(radiusPixels);
}
