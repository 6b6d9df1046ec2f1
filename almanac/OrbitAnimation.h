// The endless lunar month of the Lunar Phases window's orbit view: the Earth turning and the
// Moon going round it, and the name of the phase the Moon shows at each point of its orbit.
#pragma once

// The animation's angles in degrees; both start at 0 (the Moon on the far side from the
// light) and are kept across closing and reopening the window.
struct OrbitAngles {
    float earth = 0;
    float moon = 0;
};

// One frame on: the Earth turns 10 degrees, the Moon 360/1008 degrees, so that an orbit takes
// 1008 frames (about 50 seconds at 20 frames a second) and 28 turns of the Earth.
void AdvanceOrbit(OrbitAngles& angles);

// The orbit view's scene, in its own units: the camera `cameraDistance` from the scene's centre
// with a vertical field of `fieldOfView` degrees; the Earth at that centre, `lift` above the
// view's middle, seen from `tilt` degrees above the orbit's plane; the plane `planeRise` above
// the Earth's centre; the Moon's orbit of `orbitRadius`, drawn as a grey line that the Moon
// rides; the light coming from (`lightX`, `lightY`, `lightZ`) in the camera's frame (from the
// left, a little from the front). The camera stands far enough back that the whole orbit, the
// Moon on it included, shows in the view's oval below the banner and above the phase's name.
struct OrbitScene {
    float fieldOfView = 35;
    float cameraDistance = 19;
    float lift = -0.25f;
    float tilt = 30;
    float planeRise = 0.6f;
    float orbitRadius = 5.5f;
    float moonRadius = 0.5f;
    float earthRadius = 1.1f;
    float lightX = -1, lightY = 0, lightZ = 0.2f;
};
inline constexpr OrbitScene kOrbitScene{};

// A ball as the view shows it: its centre in pixels from the view's top left and its radius.
struct ViewDisc {
    double x = 0, y = 0, radius = 0;
};

// A point in the camera's frame, in the scene's units: x to the right, y up, z towards the
// viewer, the camera at the origin looking along -z.
struct EyePoint {
    double x = 0, y = 0, z = 0;
};

// Where a point of the orbit's plane, `radius` from the Earth and `angle` degrees round (the
// Moon's angle: 0 on the right, 90 at the far side), lies in the camera's frame.
EyePoint OrbitPointInEye(const OrbitScene& scene, float angle, float radius);

// The Earth's centre in the camera's frame.
EyePoint EarthInEye(const OrbitScene& scene);

// Where a ball of `ballRadius` centred at `centre` shows on a width x height view.
ViewDisc ProjectToView(const OrbitScene& scene, const EyePoint& centre, double ballRadius, int width, int height);

// Where a ball of `ballRadius` at `radius` from the Earth in the orbit's plane, `angle` degrees
// round (the Moon's angle: 0 on the right, 90 at the far side), shows on a width x height view.
ViewDisc OrbitPointOnView(const OrbitScene& scene, float angle, float radius, float ballRadius, int width,
                          int height);

// The Earth's ball on the view.
ViewDisc EarthOnView(const OrbitScene& scene, int width, int height);

// The phase names of the orbit view, by index: "New Moon" (0) to "Waning Crescent" (7).
const char* OrbitPhaseLabel(int index);

// The label shown for an orbit angle: the index of the principal angle (0, 45, ... 315
// degrees) within 15 degrees of it round the circle, else the index last found, so that the
// label changes only as the Moon passes a principal angle.
class PhaseLabelTracker {
public:
    int nearest(float angle);

private:
    int last_ = 0;
};
