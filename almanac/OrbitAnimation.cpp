#include "almanac/OrbitAnimation.h"

#include <cmath>

namespace {

constexpr float kEarthStep = 10.0f;
constexpr float kMoonStep = 0.35714287f;  // 360 / 1008
constexpr double kRadians = 3.14159265358979323846 / 180;

const char* const kLabels[8] = {"New Moon",  "Waxing Crescent", "1st Quarter",  "Waxing Gibbous",
                                "Full Moon", "Waning Gibbous",  "Last Quarter", "Waning Crescent"};

}  // namespace

void AdvanceOrbit(OrbitAngles& angles) {
    angles.earth += kEarthStep;
    angles.moon += kMoonStep;
    if (angles.earth > 360) angles.earth -= 360;
    if (angles.moon > 360) angles.moon -= 360;
}

EyePoint OrbitPointInEye(const OrbitScene& s, float angle, float radius) {
    // As the view draws it: turned `angle` about the vertical, out along x, the plane raised
    // and the whole tilted towards the viewer.
    const double px = radius * std::cos(angle * kRadians), pz = -radius * std::sin(angle * kRadians);
    const double t = s.tilt * kRadians;
    const double y = s.planeRise * std::cos(t) - pz * std::sin(t);
    const double z = s.planeRise * std::sin(t) + pz * std::cos(t);
    return {px, y + s.lift, z - s.cameraDistance};
}

EyePoint EarthInEye(const OrbitScene& s) { return {0, s.lift, -s.cameraDistance}; }

ViewDisc ProjectToView(const OrbitScene& s, const EyePoint& p, double ballRadius, int width, int height) {
    const double depth = -p.z;
    const double f = 1 / std::tan(s.fieldOfView / 2 * kRadians);
    const double aspect = double(width) / height;
    ViewDisc d;
    d.x = (f / aspect * p.x / depth + 1) / 2 * width;
    d.y = (1 - f * p.y / depth) / 2 * height;
    const double distance = std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z);
    d.radius = ballRadius < distance ? std::tan(std::asin(ballRadius / distance)) * f * height / 2 : 0;
    return d;
}

ViewDisc OrbitPointOnView(const OrbitScene& s, float angle, float radius, float ballRadius, int width, int height) {
    return ProjectToView(s, OrbitPointInEye(s, angle, radius), ballRadius, width, height);
}

ViewDisc EarthOnView(const OrbitScene& s, int width, int height) {
    return ProjectToView(s, EarthInEye(s), s.earthRadius, width, height);
}

const char* OrbitPhaseLabel(int index) { return index >= 0 && index < 8 ? kLabels[index] : kLabels[0]; }

int PhaseLabelTracker::nearest(float angle) {
    for (int i = 0; i < 8; ++i) {
        // Measured round the circle, so that 350 lies 10 degrees from 0.
        if (std::fabs(std::remainder(angle - 45.0f * i, 360.0f)) < 15) return last_ = i;
    }
    return last_;
}
