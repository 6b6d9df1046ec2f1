#include "render/SolarEclipseShadow.h"

#include <algorithm>
#include <cmath>

namespace {

// Light left in the umbra and, at most, in the antumbra.
constexpr float kUmbraLight = 0.03f;
constexpr float kAntumbraLight = 0.15f;
// How much of the light the covered share takes, growing as its square root so that the wide
// outer penumbra shows on the already dim day map; a little is left even under a nearly
// covered Sun, so that the land stays recognisable.
constexpr float kCoverDarkening = 0.86f;
// Sites where the Sun is further below the horizon than this (the sine of the angle) take no
// shadow: no daylight is left there to take, and on the far side of the Earth the line to
// the Sun would pass the Moon through the Earth itself.
constexpr double kBelowHorizon = -0.14;
// Texels where the grid says more than this is covered are worked out one by one.
constexpr float kExactFrom = 0.6f;
constexpr int kGridStepsPerDegree = 1;
// Lines of equal share hidden, as eclipse maps draw them: the penumbra's outer edge and every
// quarter; the light left on a line.
constexpr float kContourLevels[] = {0.01f, 0.25f, 0.5f, 0.75f};
constexpr float kContourLight = 0.45f;

// Whether the Sun (unit vector `sun`, Earth-fixed) stands high enough at the site for shadow.
bool SunNearOrAbove(const Vector3& sun, double latitudeDeg, double longitudeDeg) {
    return SurfaceNormal(latitudeDeg, longitudeDeg).dot(sun) >= kBelowHorizon;
}

}  // namespace

float SolarEclipseLight(const SolarCover& cover) {
    if (!(cover.obscuration > 0)) return 1;
    if (cover.central && cover.magnitude >= 1) return kUmbraLight;
    const float light = 1 - kCoverDarkening * float(std::sqrt(std::min(cover.obscuration, 1.0)));
    return cover.central ? std::min(light, kAntumbraLight) : light;
}

std::vector<uint8_t> SolarEclipseLightMap(int width, int height, const EclipseSky& sky) {
    if (width <= 0 || height <= 0) return {};
    std::vector<uint8_t> rgb(std::size_t(width) * height * 3, 255);
    // The covered share at whole degrees: latitude -90..90 by rows, longitude -180..180.
    constexpr int kRows = 180 * kGridStepsPerDegree + 1, kColumns = 360 * kGridStepsPerDegree + 1;
    constexpr double kStep = 1.0 / kGridStepsPerDegree;
    if (!(Vector3(sky.sun).length() > 0)) return rgb;
    const Vector3 sun = Vector3(sky.sun).unit();
    std::vector<float> grid(std::size_t(kRows) * kColumns);
    for (int i = 0; i < kRows; ++i) {
        for (int j = 0; j < kColumns; ++j) {
            const double lat = -90 + i * kStep, lon = -180 + j * kStep;
            grid[std::size_t(i) * kColumns + j] =
                SunNearOrAbove(sun, lat, lon) ? float(SolarCoverAt(sky, lat, lon).obscuration) : 0.0f;
        }
    }
    // Each texel's share hidden and light left; light 1 where the Moon's shadow is not.
    std::vector<float> hidden(std::size_t(width) * height, 0.0f), light(hidden.size(), 1.0f);
    for (int r = 0; r < height; ++r) {
        const double lat = (r + 0.5) * 180.0 / height - 90;
        const double gi = (lat + 90) / kStep;
        const int i = std::min(int(gi), kRows - 2);
        const float fi = float(gi - i);
        const float* below = &grid[std::size_t(i) * kColumns];
        const float* above = below + kColumns;
        for (int c = 0; c < width; ++c) {
            const double lon = (c + 0.5) * 360.0 / width - 180;
            const double gj = (lon + 180) / kStep;
            const int j = std::min(int(gj), kColumns - 2);
            const float corners[4] = {below[j], below[j + 1], above[j], above[j + 1]};
            const float most = *std::max_element(corners, corners + 4);
            if (most <= 0) continue;
            SolarCover cover;
            if (most > kExactFrom) {
                if (SunNearOrAbove(sun, lat, lon)) cover = SolarCoverAt(sky, lat, lon);
            } else {
                const float fj = float(gj - j);
                cover.obscuration = (corners[0] * (1 - fj) + corners[1] * fj) * (1 - fi) +
                                    (corners[2] * (1 - fj) + corners[3] * fj) * fi;
            }
            const std::size_t at = std::size_t(r) * width + c;
            hidden[at] = float(cover.obscuration);
            light[at] = SolarEclipseLight(cover);
        }
    }
    for (int r = 0; r < height; ++r) {
        const std::size_t row = std::size_t(r) * width;
        const std::size_t up = std::size_t(std::min(r + 1, height - 1)) * width;
        const std::size_t down = std::size_t(std::max(r - 1, 0)) * width;
        for (int c = 0; c < width; ++c) {
            const std::size_t at = row + c;
            const int right = (c + 1) % width, left = (c + width - 1) % width;
            // Thin dark lines where the share hidden crosses a contour level, about a texel wide
            // whatever its slope there.
            const float slope = std::max(std::fabs(hidden[row + right] - hidden[row + left]),
                                         std::fabs(hidden[up + c] - hidden[down + c])) / 2;
            float shade = light[at];
            if (slope > 0) {
                for (float level : kContourLevels) {
                    const float texels = std::fabs(hidden[at] - level) / slope;
                    if (texels < 1) shade *= kContourLight + (1 - kContourLight) * texels;
                }
            }
            if (shade >= 1) continue;
            uint8_t* texel = &rgb[at * 3];
            texel[0] = texel[1] = texel[2] = uint8_t(255 * shade + 0.5f);
        }
    }
    return rgb;
}
