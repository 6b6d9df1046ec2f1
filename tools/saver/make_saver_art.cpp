// Draws the screen saver's pictures: the Earth as a lit globe (the day map, a night side with
// city lights, a soft terminator and a thin atmosphere) over a starfield in the program's
// night blue.
//   saver_preview_105.bmp  152x112 the preview in the display settings' little monitor, the
//                          globe above the program's name
//   saver_config_122.bmp   229x123 the settings dialog's picture (and saver_config_122_200.bmp at
//                          twice the size, for screens of high DPI): the name on the left, the
//                          globe on the right
// Both are 8-bit Windows bitmaps with a palette chosen for the picture by median cut. Same maps
// and fonts give the same bytes.
//
// usage: make_saver_art MARBLE_MAPS_DIR BOLD.ttf REGULAR.ttf OUT_DIR

#define STB_IMAGE_IMPLEMENTATION
#include "tools/common/MapImage.h"
#define STB_TRUETYPE_IMPLEMENTATION
#include "tools/common/TextLine.h"

#include "tools/common/MedianCut.h"
#include "tools/common/PaletteBitmap.h"
#include "tools/common/Picture.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

namespace {

constexpr double kPi = 3.14159265358979323846;

// The map averaged over `factor` x `factor` blocks, so that a small globe samples it without
// shimmering.
Picture Shrink(const Picture& map, int factor) {
    Picture out(map.width / factor, map.height / factor);
    for (int y = 0; y < out.height; ++y) {
        for (int x = 0; x < out.width; ++x) {
            float* o = out.at(x, y);
            for (int dy = 0; dy < factor; ++dy) {
                for (int dx = 0; dx < factor; ++dx) {
                    const float* c = map.at(x * factor + dx, y * factor + dy);
                    for (int k = 0; k < 3; ++k) o[k] += c[k];
                }
            }
            for (int k = 0; k < 3; ++k) o[k] /= float(factor * factor);
        }
    }
    return out;
}

struct Maps {
    Picture day, lights;
};

// The globe: centre (cx, cy), `radius` pixels, seen from above longitude and latitude
// `lon0`, `lat0` (degrees), the Sun in direction `sun` (x right, y up, z towards the viewer).
struct GlobeView {
    double cx, cy, radius, lon0, lat0;
    double sun[3];
    double zoom = 1;  // the picture drawn this many times as large as at 100 %
};

// The colour of the Earth at the visible point (u, v, z) of the unit sphere.
void Surface(const Maps& maps, const GlobeView& view, double u, double v, double z, float out[3]) {
    const double lon0 = view.lon0 * kPi / 180, lat0 = view.lat0 * kPi / 180;
    const double east[3] = {-std::sin(lon0), std::cos(lon0), 0};
    const double north[3] = {-std::sin(lat0) * std::cos(lon0), -std::sin(lat0) * std::sin(lon0), std::cos(lat0)};
    const double front[3] = {std::cos(lat0) * std::cos(lon0), std::cos(lat0) * std::sin(lon0), std::sin(lat0)};
    double p[3];
    for (int k = 0; k < 3; ++k) p[k] = u * east[k] + v * north[k] + z * front[k];
    const double lon = std::atan2(p[1], p[0]), lat = std::asin(std::clamp(p[2], -1.0, 1.0));
    float day[3], lights[3];
    SampleMap(maps.day, lon, lat, day);
    SampleMap(maps.lights, lon, lat, lights);

    const double cosine = u * view.sun[0] + v * view.sun[1] + z * view.sun[2];
    // Daylight fades out over some 10 degrees either side of the terminator.
    const double t = std::clamp((cosine + 0.1) / 0.28, 0.0, 1.0);
    const double daylight = t * t * (3 - 2 * t);
    const double bright = 0.45 + 0.75 * std::sqrt(std::max(cosine, 0.0));
    const double dusk = 1 - daylight;
    // Towards the limb the air scatters blue over the land and sea.
    const double haze = std::pow(1 - z, 3.0) * 0.8;
    const float air[3] = {110, 160, 255};
    // The night map is dark blue land and sea with white lights: the lights made warmer and
    // brighter so that they show at this size.
    const double glare = (lights[0] + lights[1] + lights[2]) / 3;
    const double cities = std::max(0.0, glare - 32) * 3.5;
    const double warm[3] = {1.0, 0.85, 0.55};
    for (int k = 0; k < 3; ++k) {
        const double lit = std::min(255.0, day[k] * bright);
        const double night = lights[k] * 0.8 + cities * warm[k];
        const double surface = lit * daylight + night * dusk;
        out[k] = float(surface + (air[k] * (0.3 + 0.7 * daylight) - surface) * haze * (0.1 + 0.9 * daylight));
    }
}

// Draws the globe over what the picture holds: 4 x 4 samples a pixel, the background kept
// where samples miss the disc, and the atmosphere's glow just outside the sunlit limb.
void DrawGlobe(Picture& p, const Maps& maps, const GlobeView& view) {
    const float glow[3] = {90, 150, 255};
    for (int y = 0; y < p.height; ++y) {
        for (int x = 0; x < p.width; ++x) {
            const double dx = (x + 0.5 - view.cx) / view.radius, dy = (view.cy - y - 0.5) / view.radius;
            const double r = std::hypot(dx, dy);
            if (r > 1.2) continue;
            float sum[3] = {0, 0, 0};
            int inside = 0;
            for (int sy = 0; sy < 4; ++sy) {
                for (int sx = 0; sx < 4; ++sx) {
                    const double u = (x + (sx + 0.5) / 4 - view.cx) / view.radius;
                    const double v = (view.cy - y - (sy + 0.5) / 4) / view.radius;
                    const double rr = u * u + v * v;
                    if (rr >= 1) continue;
                    float c[3];
                    Surface(maps, view, u, v, std::sqrt(1 - rr), c);
                    for (int k = 0; k < 3; ++k) sum[k] += c[k];
                    ++inside;
                }
            }
            float* c = p.at(x, y);
            for (int k = 0; k < 3; ++k) c[k] = (sum[k] + c[k] * float(16 - inside)) / 16;
            if (r > 0.97) {
                // The glow, brightest on the side facing the Sun.
                const double facing = (dx * view.sun[0] + dy * view.sun[1]) / std::max(r, 1e-9);
                const double strength = std::clamp(0.35 + 0.65 * facing, 0.12, 1.0);
                const double fall = std::exp(-std::abs(r - 1) * view.radius / (1.6 * view.zoom));
                p.blend(x, y, glow, float(0.85 * strength * fall));
            }
        }
    }
}

// A faint blue glow in the night sky around the globe.
void SkyGlow(Picture& p, double cx, double cy, double reach) {
    const float colour[3] = {12, 26, 80};
    for (int y = 0; y < p.height; ++y) {
        for (int x = 0; x < p.width; ++x) {
            const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy) / reach;
            p.blend(x, y, colour, float(0.7 * std::exp(-d * d)));
        }
    }
}

// Text centred on `centreX`, its baseline at `baseline`.
void Text(Picture& p, const Font& font, const std::string& text, float pixelHeight, float centreX,
          int baseline, const float colour[3], float tracking = 0) {
    const float scale = font.scale(pixelHeight);
    const float left = centreX - TextWidth(font, text, scale, tracking) / 2;
    DrawTextLine(font, text, scale, left, baseline,
                 [&](int x, int y, float coverage) { p.blend(x, y, colour, coverage); }, tracking);
}

void Normalise(double v[3]) {
    const double n = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    for (int k = 0; k < 3; ++k) v[k] /= n;
}

// Africa and Europe by day, the Sun low in the west over the Atlantic, dusk over Arabia and
// the lights of India on the night side.
GlobeView View(double cx, double cy, double radius, double zoom = 1) {
    GlobeView view{cx * zoom, cy * zoom, radius * zoom, 22, 16, {-0.8, 0.3, 0.5}, zoom};
    Normalise(view.sun);
    return view;
}

const float kWhite[3] = {255, 255, 255};
const float kPale[3] = {160, 200, 250};

Picture Preview(const Maps& maps, const Font& bold) {
    Picture p(152, 112);
    Starfield(p, 0x105u, 70);
    SkyGlow(p, 76, 46, 55);
    DrawGlobe(p, maps, View(76, 46, 37));
    Text(p, bold, "Solvane", 15, 76, 105, kWhite, 0.5f);
    return p;
}

// The settings dialog's picture, 229 x 123 at 100 %, drawn `zoom` times as large.
Picture ConfigPicture(const Maps& maps, const Font& bold, const Font& regular, int zoom) {
    const float z = float(zoom);
    Picture p(229 * zoom, 123 * zoom);
    Starfield(p, 0x122u, 120);
    SkyGlow(p, 164.0 * z, 61.0 * z, 70.0 * z);
    DrawGlobe(p, maps, View(164, 61, 52, z));
    Text(p, bold, "Solvane", 24 * z, 56 * z, 62 * zoom, kWhite, 0.5f * z);
    Text(p, regular, "SCREEN SAVER", 9.5f * z, 56 * z, 78 * zoom, kPale, 1.6f * z);
    return p;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: make_saver_art MARBLE_MAPS_DIR BOLD.ttf REGULAR.ttf OUT_DIR\n");
        return 2;
    }
    const std::string maps = argv[1], out = std::string(argv[4]) + "/";
    const Picture day = LoadPicture(maps + "/earth/bluemarble/bluemarble.jpg");
    const Picture lights = LoadPicture(maps + "/earth/citylights/citylights.jpg");
    if (day.width < 1000 || lights.width < 1000) {
        std::fprintf(stderr, "make_saver_art: cannot read the maps in %s\n", argv[1]);
        return 1;
    }
    Font bold, regular;
    if (!bold.load(argv[2]) || !regular.load(argv[3])) {
        std::fprintf(stderr, "make_saver_art: cannot read the fonts\n");
        return 1;
    }
    const Maps small{Shrink(day, 5), Shrink(lights, 5)};
    if (!WritePaletteBitmap(out + "saver_preview_105.bmp", MedianCut(Preview(small, bold))) ||
        !WritePaletteBitmap(out + "saver_config_122.bmp", MedianCut(ConfigPicture(small, bold, regular, 1))) ||
        !WritePaletteBitmap(out + "saver_config_122_200.bmp", MedianCut(ConfigPicture(small, bold, regular, 2)))) {
        std::fprintf(stderr, "make_saver_art: cannot write into %s\n", argv[4]);
        return 1;
    }
    return 0;
}
