// The Earth's map lit for one position of the Sun: the day (or clouded) map darkened towards
// the soft terminator and, deep in the night, the city lights over it. Drawn on the globe in one
// pass, it stands for the lit globe while the Sun moves less than a fraction of a pixel.
#pragma once

#include <cstdint>
#include <vector>

// Grey level of a surface with unit normal n lit from direction light:
// (n . light + 0.15) x gain, at most 1, at least `floor` (also for NaN).
float GreyLevel(const float n[3], const float light[3], float gain, float floor);

// How the map shades the night side.
enum class NightShading {
    kSoft,           // the soft terminator
    kSoftWithBands,  // the soft terminator with the twilight bands
    kSharpBands,     // the abrupt terminator's night side with the twilight bands, without the
                     // city lights (a pass of their own goes over it)
};

// `day` and `lights` (may be null) are red-green-blue maps of width x height in the globe's
// texture layout (column 0 at longitude 0, row 0 at the south pole). `sun` is the Sun's
// direction in the globe's frame (y to the north pole, about one unit long). Each texel of the
// result: day x g, g = GreyLevel(n, sun, 4, 0.07) for its surface normal n; where n . sun <= -0.10625
// the lights x GreyLevel(n, -sun, 1, 0) go over it as a screen: base + light x (255 - base) / 255.
// With the bands, g is the brighter of that and the TwilightBandLevel of the Sun's depression.
// kSharpBands: day x the brighter of the night's tint (24, 24, 32) / 255 and the bands' level.
std::vector<uint8_t> LitEarthMap(const uint8_t* day, const uint8_t* lights, int width, int height,
                                 const float sun[3], NightShading shading = NightShading::kSoft);

// Whether the Sun has moved from `before` to `now` (directions of any length) by more than
// `toleranceRadians`; the same direction never has.
bool SunMovedBeyond(const float before[3], const float now[3], double toleranceRadians);
