#include "render/LunarEclipseShadow.h"

#include <algorithm>
#include <cmath>

namespace {

// Light left at the penumbra's inner edge (it grows to all of it at the outer edge).
constexpr float kPenumbraInnerLight = 0.5f;
// The umbra's colour at its centre and at its edge.
constexpr float kUmbraCentre[3] = {0.28f, 0.085f, 0.05f};
constexpr float kUmbraEdge[3] = {0.46f, 0.2f, 0.12f};
// The umbra's edge is blended over this share of the Moon's radius on either side.
constexpr double kUmbraEdgeBlend = 0.04;

}  // namespace

bool LunarEclipseOn(const LunarShadow& s) {
    return std::hypot(s.east, s.north) < s.penumbraRadius + s.moonRadius;
}

void LunarShadowLight(const LunarShadow& s, double east, double north, float rgb[3]) {
    const double d = std::hypot(east - s.east, north - s.north);
    const double ring = s.penumbraRadius - s.umbraRadius;
    float grey = 1;
    if (d < s.penumbraRadius && ring > 0) {
        const float f = float(std::clamp((d - s.umbraRadius) / ring, 0.0, 1.0));
        grey = kPenumbraInnerLight + (1 - kPenumbraInnerLight) * f * f * (3 - 2 * f);
    }
    const double blend = kUmbraEdgeBlend * s.moonRadius;
    // 1 deep in the umbra, 0 outside it, smooth across its edge.
    const float inside = blend > 0 ? float(std::clamp((s.umbraRadius + blend - d) / (2 * blend), 0.0, 1.0))
                                   : float(d < s.umbraRadius);
    const float t = s.umbraRadius > 0 ? float(std::clamp(d / s.umbraRadius, 0.0, 1.0)) : 1.0f;
    for (int k = 0; k < 3; ++k) {
        const float umbra = kUmbraCentre[k] + (kUmbraEdge[k] - kUmbraCentre[k]) * t;
        rgb[k] = umbra * inside + grey * (1 - inside);
    }
}

void ShadeLunarEclipse(uint8_t* pixels, int size, double discRadius, const LunarShadow& shadow) {
    if (!(discRadius > 0) || !LunarEclipseOn(shadow)) return;
    const double centre = size / 2.0, scale = shadow.moonRadius / discRadius;
    for (int y = 0; y < size; ++y) {
        const double north = (y + 0.5 - centre) * scale;
        for (int x = 0; x < size; ++x) {
            uint8_t* p = pixels + (std::size_t(y) * size + x) * 4;
            if (p[3] == 0) continue;
            float light[3];
            LunarShadowLight(shadow, (centre - x - 0.5) * scale, north, light);
            for (int k = 0; k < 3; ++k) p[k] = uint8_t(p[k] * light[k] + 0.5f);
        }
    }
}
