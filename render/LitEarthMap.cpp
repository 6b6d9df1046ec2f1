#include "render/LitEarthMap.h"

#include "render/TwilightBands.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace {

constexpr double kPi = 3.14159265358979323846;
// The lights begin 8.5 units of the 80-unit globe into the night.
constexpr float kLightsFrom = -8.5f / 80.0f;
// The abrupt terminator's night: the day map darkened to about a tenth with a blue cast.
constexpr float kSharpNight[3] = {24 / 255.0f, 24 / 255.0f, 32 / 255.0f};

// The bands' level for a texel whose normal makes `sunSine` with the Sun (the sine of the Sun's
// altitude there); the arcsine only inside the bands.
float BandLevel(float sunSine) {
    static const float kHighest = float(std::sin(-kTwilightBandsFrom * kPi / 180));
    static const float kLowest = float(-std::sin(kTwilightBandsTo * kPi / 180));
    if (!(sunSine < kHighest && sunSine > kLowest)) return 0;
    return TwilightBandLevel(-std::asin(double(sunSine)) * 180 / kPi);
}

}  // namespace

float GreyLevel(const float n[3], const float light[3], float gain, float floor) {
    float g = (n[0] * light[0] + n[1] * light[1] + n[2] * light[2] + 0.15f) * gain;
    if (g > 1) g = 1;
    if (!(g >= floor)) g = floor;
    return g;
}

std::vector<uint8_t> LitEarthMap(const uint8_t* day, const uint8_t* lights, int width, int height,
                                 const float sun[3], NightShading shading) {
    std::vector<uint8_t> lit(std::size_t(width) * height * 3);
    const float antiSun[3] = {-sun[0], -sun[1], -sun[2]};
    const bool bands = shading != NightShading::kSoft, sharp = shading == NightShading::kSharpBands;
    if (sharp) lights = nullptr;
    const float length = std::sqrt(sun[0] * sun[0] + sun[1] * sun[1] + sun[2] * sun[2]);
    const float unitSun[3] = {sun[0] / length, sun[1] / length, sun[2] / length};
    // The longitudes' cosines and sines once for all rows (texel centres).
    std::vector<float> cosLon(width), sinLon(width);
    for (int c = 0; c < width; ++c) {
        const double lon = (c + 0.5) * 2 * kPi / width;
        cosLon[c] = float(std::cos(lon));
        sinLon[c] = float(std::sin(lon));
    }
    for (int r = 0; r < height; ++r) {
        const double lat = (r + 0.5) * kPi / height - kPi / 2;
        const float cosLat = float(std::cos(lat)), sinLat = float(std::sin(lat));
        const std::size_t row = std::size_t(r) * width * 3;
        for (int c = 0; c < width; ++c) {
            // As GlobeMesh::surfacePoint places it.
            const float n[3] = {cosLat * cosLon[c], sinLat, -cosLat * sinLon[c]};
            const float band = bands ? BandLevel(n[0] * unitSun[0] + n[1] * unitSun[1] + n[2] * unitSun[2]) : 0.0f;
            const float grey = std::max(sharp ? 0.0f : GreyLevel(n, sun, 4.0f, 0.07f), band);
            const bool night = n[0] * sun[0] + n[1] * sun[1] + n[2] * sun[2] <= kLightsFrom;
            const float glow = night && lights != nullptr ? GreyLevel(n, antiSun, 1.0f, 0.0f) : 0.0f;
            const std::size_t at = row + std::size_t(c) * 3;
            for (int k = 0; k < 3; ++k) {
                const int base = int(day[at + k] * (sharp ? std::max(kSharpNight[k], grey) : grey));
                const int light = glow > 0 ? int(lights[at + k] * glow) : 0;
                lit[at + k] = uint8_t(base + light * (255 - base) / 255);
            }
        }
    }
    return lit;
}

bool SunMovedBeyond(const float a[3], const float b[3], double toleranceRadians) {
    // The angle from the cross and dot products: exact for small angles, 0 for equal vectors.
    const double cross[3] = {double(a[1]) * b[2] - double(a[2]) * b[1], double(a[2]) * b[0] - double(a[0]) * b[2],
                             double(a[0]) * b[1] - double(a[1]) * b[0]};
    const double dot = double(a[0]) * b[0] + double(a[1]) * b[1] + double(a[2]) * b[2];
    const double sine = std::sqrt(cross[0] * cross[0] + cross[1] * cross[1] + cross[2] * cross[2]);
    return std::atan2(sine, dot) > toleranceRadians;
}
