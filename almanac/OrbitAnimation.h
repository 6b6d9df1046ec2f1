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

// The phase names of the orbit view, by index: "New Moon" (0) to "Waning Crescent" (7).
const char* OrbitPhaseLabel(int index);

// The label shown for an orbit angle: the index of the principal angle (0, 45, ... 315
// degrees) within 15 degrees of it, else the index last found, so that the label changes
// only as the Moon passes a principal angle.
class PhaseLabelTracker {
public:
    int nearest(float angle);

private:
    int last_ = 0;
};
