// What one Earth frame shows: the instant, the view and the display options.
#pragma once

#include <cstdint>

struct AstroState;
struct UserOptions;

struct SceneInputs {
    double julianDate;
    double siderealHours;  // Greenwich apparent sidereal time
    int viewpoint;
    uint32_t displayFlags;
    float homeLongitude, homeLatitude;  // degrees
    float drag[16];                     // DragOrientation matrix
    float spinAngle;                    // degrees, ticking and spinning globe
    bool twilightBands = false;         // on the night side, with the night shadow
};

// The instant of `astro` seen as `options` say (viewpoint, flags, home), with or without the
// twilight bands; no drag, no turn yet.
SceneInputs SceneOf(const AstroState& astro, const UserOptions& options, bool twilightBands);
