// What one Earth frame shows: the instant, the view and the display options.
#pragma once

#include <cstdint>

struct SceneInputs {
    double julianDate;
    double siderealHours;  // Greenwich apparent sidereal time
    int viewpoint;
    uint32_t displayFlags;
    float homeLongitude, homeLatitude;  // degrees
    float drag[16];                     // DragOrientation matrix
    float spinAngle;                    // degrees, ticking and spinning globe
};
