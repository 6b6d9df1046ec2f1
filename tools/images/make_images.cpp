// Makes the program's images from public-domain maps (Debian's marble-qt-data: NASA Blue
// Marble, NASA/NOAA city lights, USGS Clementine Moon) and from procedures of our own:
//   earth_day.bmp, earth_night.bmp  1024x512 equirectangular, resized from the maps
//   clouds.bmp                      1024x512 procedural cloud field (fixed noise, seamless)
//   earth_icon.bmp                  64x64 the Earth's disc
//   sun.bmp                         32x32 the Sun marker: a white-hot disc with a glow
//   moon_full.bmp                   64x64 the Moon's near side, face on, filling the picture
//                                   as the lit ball of the Moon-phase picture does
//   saver_moon_116.bmp              the same face for the screen saver
//   moon_new.bmp, moon_first.bmp, moon_last.bmp  64x64 phase icons
//   drag.cur                        32x32 cursor for turning the globe
//   solvane.ico                     the program's icon: 16, 20, 24, 32, 40, 48 and 256 pixels,
//                                   for every DPI's small and large icons
//   pane_decoration.bmp             500x80 the details pane's decoration (pane_decoration_200.bmp:
//                                   the same at twice the size)
//   tray_reminder.bmp               214x112 the close reminder's picture, with its words
//                                   (tray_reminder_200.bmp: the same at twice the size)
//   phase_131.bmp .. phase_134.bmp  64x64 new Moon (in earthshine), first quarter (lit on the
//                                   right), full, last quarter (lit on the left); phase_13N_200.bmp
//                                   the same at 128x128
//   moon_face_171.bmp               256x256 the Moon's near side, face on, black around it
//   earth_map_159.bmp               256x128 the day map, equirectangular
// All bitmaps are 24-bit bottom-up Windows bitmaps (blue, green, red), south in the first row.
//
// usage: make_images MARBLE_MAPS_DIR FONT.ttf OUT_DIR

#define STB_IMAGE_IMPLEMENTATION
#include "tools/common/MapImage.h"
#define STB_IMAGE_RESIZE_IMPLEMENTATION
#include <stb/stb_image_resize.h>
#define STB_PERLIN_IMPLEMENTATION
#include <stb/stb_perlin.h>
#define STB_TRUETYPE_IMPLEMENTATION
#include "tools/common/TextLine.h"

#include "tools/common/Picture.h"

#include "almanac/LunarPhasesLayout.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;

Picture Load(const std::string& path) {
    Picture p = LoadPicture(path);
    if (p.width == 0) {
        std::fprintf(stderr, "make_images: cannot read %s\n", path.c_str());
        std::exit(1);
    }
    return p;
}

// The Clementine mosaic has small holes of black where no image was taken. Below 70 degrees
// of latitude (nearer the poles black is real shadow) the holes and a pixel around them are
// filled from the outside in, each pixel with the mean of its filled or valid neighbours.
void FillGaps(Picture& map) {
    const int w = map.width, h = map.height;
    std::vector<uint8_t> hole(size_t(w) * h, 0);
    for (int y = 0; y < h; ++y) {
        if (std::abs(0.5 - (y + 0.5) / h) * 180 > 70) continue;
        for (int x = 0; x < w; ++x) {
            const float* c = map.at(x, y);
            if (std::max({c[0], c[1], c[2]}) >= 14) continue;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    hole[size_t(y + dy) * w + (x + dx + w) % w] = 1;
                }
            }
        }
    }
    for (bool left = true; left;) {
        left = false;
        std::vector<uint8_t> next = hole;
        for (int y = 1; y < h - 1; ++y) {
            for (int x = 0; x < w; ++x) {
                if (!hole[size_t(y) * w + x]) continue;
                float sum[3] = {0, 0, 0};
                int n = 0;
                for (int dy = -1; dy <= 1; ++dy) {
                    for (int dx = -1; dx <= 1; ++dx) {
                        const int nx = (x + dx + w) % w, ny = y + dy;
                        if (hole[size_t(ny) * w + nx]) continue;
                        for (int k = 0; k < 3; ++k) sum[k] += map.at(nx, ny)[k];
                        ++n;
                    }
                }
                if (n == 0) {
                    left = true;
                    continue;
                }
                for (int k = 0; k < 3; ++k) map.at(x, y)[k] = sum[k] / n;
                next[size_t(y) * w + x] = 0;
            }
        }
        hole.swap(next);
    }
}

Picture Resize(const Picture& source, int width, int height) {
    Picture out(width, height);
    stbir_resize_float(source.rgb.data(), source.width, source.height, 0, out.rgb.data(), width,
                       height, 0, 3);
    return out;
}

// The hemisphere centred on longitude 0 seen face on, as a disc of `radius` pixels centred
// in a size x size picture, 4 x 4 samples per pixel. `shade` (x, y, z on the unit sphere,
// z towards the viewer) scales the colour.
template <typename Shade>
Picture Disc(const Picture& map, int size, double radius, Shade shade) {
    Picture out(size, size);
    const double centre = size / 2.0;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            float sum[3] = {0, 0, 0};
            for (int sy = 0; sy < 4; ++sy) {
                for (int sx = 0; sx < 4; ++sx) {
                    const double u = (x + (sx + 0.5) / 4 - centre) / radius;
                    const double v = (centre - y - (sy + 0.5) / 4) / radius;
                    const double rr = u * u + v * v;
                    if (rr >= 1) continue;
                    const double z = std::sqrt(1 - rr);
                    float c[3];
                    SampleMap(map, std::atan2(u, z), std::asin(v), c);
                    const double s = shade(u, v, z);
                    for (int k = 0; k < 3; ++k) sum[k] += float(c[k] * s);
                }
            }
            for (int k = 0; k < 3; ++k) out.at(x, y)[k] = sum[k] / 16;
        }
    }
    return out;
}

// Cloud cover: fractal noise on the sphere (seamless at the date line and the poles), shaped
// into bands of cloud with clear sky between, white where thick.
Picture Clouds(int width, int height) {
    Picture out(width, height);
    for (int y = 0; y < height; ++y) {
        const double lat = kPi / 2 - (y + 0.5) / height * kPi;
        for (int x = 0; x < width; ++x) {
            const double lon = (x + 0.5) / width * 2 * kPi - kPi;
            const float px = float(std::cos(lat) * std::cos(lon)), py = float(std::sin(lat)),
                        pz = float(std::cos(lat) * std::sin(lon));
            const float warp = stb_perlin_fbm_noise3(px * 2.1f + 7.3f, py * 2.1f, pz * 2.1f, 2.0f, 0.5f, 4);
            float n = stb_perlin_fbm_noise3(px * 4.0f + warp, py * 6.0f + 3.1f, pz * 4.0f - warp, 2.0f, 0.55f, 7);
            // More cloud along the storm belts (about 50 degrees) and the tropics.
            const double belt = 0.18 * std::cos(lat * 4.0) - 0.05;
            double cover = (n + belt + 0.02) * 2.0;
            cover = std::clamp(cover, 0.0, 1.0);
            const float value = float(235 * std::pow(cover, 1.6));
            for (int k = 0; k < 3; ++k) out.at(x, y)[k] = value;
        }
    }
    return out;
}

Picture SunSprite(int size) {
    Picture out(size, size);
    const double centre = size / 2.0;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const double r = std::hypot(x + 0.5 - centre, y + 0.5 - centre) / centre;
            double core = std::clamp((0.55 - r) / 0.08 + 0.5, 0.0, 1.0);
            double glow = std::max(0.0, 1 - r) * std::max(0.0, 1 - r) * 0.9;
            const double level = std::max(core, glow);
            const float rgb[3] = {255, float(235 + 20 * core), float(150 + 100 * core)};
            for (int k = 0; k < 3; ++k) out.at(x, y)[k] = float(rgb[k] * level);
        }
    }
    return out;
}

// The program's icon: the Earth seen from space, half in sunlight, at 16, 32 and 48 pixels,
// 32-bit with alpha.
bool WriteIcon(const std::string& path, const Picture& day) {
    const int sizes[] = {16, 20, 24, 32, 40, 48, 256};
    constexpr int kImages = int(sizeof sizes / sizeof sizes[0]);
    std::vector<std::vector<uint8_t>> images;
    for (int size : sizes) {
        const double radius = size / 2.0 - 0.5;
        const Picture disc = Disc(day, size, radius, [](double u, double v, double z) {
            const double light = 0.6 * u + 0.35 * v + 0.72 * z;  // the Sun upper left of the viewer
            return 0.12 + 0.88 * std::clamp(light * 2.5 + 0.3, 0.0, 1.0);
        });
        std::vector<uint8_t> image;
        auto put32 = [&](uint32_t v) { for (int i = 0; i < 4; ++i) image.push_back((v >> (8 * i)) & 0xff); };
        auto put16 = [&](uint32_t v) { image.push_back(v & 0xff), image.push_back((v >> 8) & 0xff); };
        put32(40), put32(size), put32(2 * size), put16(1), put16(32), put32(0), put32(0);
        put32(0), put32(0), put32(0), put32(0);
        const double centre = size / 2.0;
        for (int y = size - 1; y >= 0; --y) {
            for (int x = 0; x < size; ++x) {
                const float* c = disc.at(x, y);
                const double r = std::hypot(x + 0.5 - centre, y + 0.5 - centre);
                const double alpha = std::clamp(radius + 0.5 - r, 0.0, 1.0);
                for (int k = 2; k >= 0; --k) image.push_back(uint8_t(std::clamp(std::lround(c[k]), 0L, 255L)));
                image.push_back(uint8_t(std::lround(255 * alpha)));
            }
        }
        const int maskRow = ((size + 31) / 32) * 4;
        image.insert(image.end(), size_t(maskRow) * size, 0);  // the alpha channel decides
        images.push_back(image);
    }
    std::vector<uint8_t> out;
    auto put16 = [&](uint32_t v) { out.push_back(v & 0xff), out.push_back((v >> 8) & 0xff); };
    auto put32 = [&](uint32_t v) { put16(v & 0xffff), put16(v >> 16); };
    put16(0), put16(1), put16(kImages);  // an icon file
    uint32_t offset = 6 + 16 * kImages;
    for (int i = 0; i < kImages; ++i) {
        // A width and height of 256 are written as 0.
        out.push_back(uint8_t(sizes[i] & 0xff)), out.push_back(uint8_t(sizes[i] & 0xff)), out.push_back(0), out.push_back(0);
        put16(1), put16(32), put32(uint32_t(images[i].size())), put32(offset);
        offset += uint32_t(images[i].size());
    }
    for (const auto& image : images) out.insert(out.end(), image.begin(), image.end());
    FILE* file = std::fopen(path.c_str(), "wb");
    return file != nullptr && std::fwrite(out.data(), 1, out.size(), file) == out.size() &&
           std::fclose(file) == 0;
}

// The details pane's decoration (500 x 80, drawn `zoom` times as large): stars above the
// glowing limb of the Earth.
Picture PaneDecoration(int zoom) {
    Picture p(500 * zoom, 80 * zoom);
    Starfield(p, 0x2a17u, 90);
    const double cx = 250.0 * zoom, cy = (80 + 620.0) * zoom, radius = 660.0 * zoom;
    for (int y = 0; y < p.height; ++y) {
        for (int x = 0; x < p.width; ++x) {
            const double d = (std::hypot(x - cx, y - cy) - radius) / zoom;
            float* c = p.at(x, y);
            const double glow = d < 0 ? 0.35 : std::exp(-d / 6.0) * 0.9;
            c[0] += float((90 - c[0]) * glow), c[1] += float((160 - c[1]) * glow), c[2] += float((255 - c[2]) * glow);
            if (d < 0) c[0] = 3, c[1] = 10, c[2] = 40 + float(std::max(0.0, 40 + d * 2));
        }
    }
    return p;
}

// The reminder's picture (214 x 112, drawn `zoom` times as large): the Earth and the words that
// say where the program went and how to end it, over a task bar whose notification area holds
// the program's icon. False when the words do not fit.
bool TrayReminder(const Picture& day, const Font& font, int zoom, Picture* picture) {
    Picture& p = *picture;
    const int z = zoom;
    Starfield(p, 0x51u, 60);
    const Picture earth = Disc(day, 48 * z, 22.0 * z, [](double u, double v, double w) {
        return 0.12 + 0.88 * std::clamp((0.6 * u + 0.35 * v + 0.72 * w) * 2.5 + 0.3, 0.0, 1.0);
    });
    for (int y = 0; y < 48 * z; ++y) {
        for (int x = 0; x < 48 * z; ++x) {
            const float* s = earth.at(x, y);
            if (s[0] + s[1] + s[2] > 6) for (int k = 0; k < 3; ++k) p.at(6 * z + x, 18 * z + y)[k] = s[k];
        }
    }
    // Two sentences in white, set as large as the column beside the Earth allows.
    const char* lines[4] = {"Solvane keeps running in", "the notification area.", "To end it, right-click",
                            "its icon: Shut Down."};
    const int baselines[4] = {24, 38, 58, 72};
    const float kLeft = 62.0f * z, kRight = 210.0f * z;
    float scale = font.scale(13.0f * z);
    for (const char* line : lines) scale = std::min(scale, scale * (kRight - kLeft) / TextWidth(font, line, scale));
    if (font.scale(13.0f * z) / scale > 1.4f) return false;  // smaller than about 9 pixels: unreadable
    // A dark halo first, so that no star touches a letter.
    const float white[3] = {255, 255, 255}, night[3] = {2, 4, 20};
    for (int i = 0; i < 4; ++i) {
        for (int dy = -z; dy <= z; ++dy) {
            for (int dx = -z; dx <= z; ++dx) {
                DrawTextLine(font, lines[i], scale, kLeft + dx, baselines[i] * z + dy,
                             [&](int x, int y, float coverage) { p.blend(x, y, night, coverage); });
            }
        }
        DrawTextLine(font, lines[i], scale, kLeft, baselines[i] * z,
                     [&](int x, int y, float coverage) { p.blend(x, y, white, coverage); });
    }
    for (int y = 86 * z; y < 112 * z; ++y) {
        for (int x = 0; x < 214 * z; ++x) {
            float* c = p.at(x, y);
            c[0] = 40, c[1] = 44, c[2] = 56;  // the task bar
            const bool tray = x >= 150 * z && x < 212 * z && y >= 89 * z && y < 109 * z;
            if (tray) c[0] = 28, c[1] = 30, c[2] = 40;
        }
    }
    const Picture icon = Disc(day, 16 * z, 7.5 * z, [](double, double, double w) { return 0.5 + 0.5 * w; });
    for (int y = 0; y < 16 * z; ++y) {
        for (int x = 0; x < 16 * z; ++x) {
            const float* s = icon.at(x, y);
            if (s[0] + s[1] + s[2] > 6) for (int k = 0; k < 3; ++k) p.at(188 * z + x, 91 * z + y)[k] = s[k];
        }
    }
    for (int a = 0; a < 360 * z; ++a) {  // a ring around the icon
        const double t = a * kPi / (180 * z);
        for (int width = 0; width < z; ++width) {
            const int x = int(196 * z + (11 * z - width) * std::cos(t)), y = int(99 * z + (11 * z - width) * std::sin(t));
            float* c = p.at(x, y);
            c[0] = 255, c[1] = 200, c[2] = 90;
        }
    }
    return true;
}

// The four principal phases filling their pictures, at 64 pixels (a ball of radius 30) and
// at 128 for screens of high DPI: phase_131.bmp .. phase_134.bmp and phase_13N_200.bmp.
template <typename SunFrom>
bool WritePhasePictures(const std::string& out, const Picture& moon, SunFrom sunFrom) {
    const std::function<double(double, double, double)> shades[4] = {[](double, double, double) { return 0.13; }, sunFrom(+1),
                             [](double, double, double) { return 1.0; }, sunFrom(-1)};
    bool ok = true;
    for (int zoom = 1; zoom <= 2; ++zoom) {
        for (int i = 0; i < 4; ++i) {
            const std::string name = "phase_" + std::to_string(131 + i) + (zoom == 2 ? "_200" : "") + ".bmp";
            ok = ok && WriteBitmap(out + name, Disc(moon, kPhasePictureSize * zoom, kPhaseBallRadius * zoom, shades[i]));
        }
    }
    return ok;
}

// A four-way arrow, white with a black outline, hot spot in the middle: monochrome .cur.
bool WriteDragCursor(const std::string& path) {
    bool white[32][32] = {}, shape[32][32] = {};
    auto arrow = [&](int x, int y) { return x >= 0 && x < 32 && y >= 0 && y < 32; };
    for (int i = -12; i <= 12; ++i) {
        for (int w = -1; w <= 1; ++w) {
            white[16 + w][16 + i] = white[16 + i][16 + w] = true;  // the cross
        }
    }
    for (int d = 0; d < 5; ++d) {  // arrowheads
        for (int w = -d; w <= d; ++w) {
            white[4 + d][16 + w] = white[28 - d][16 + w] = true;
            white[16 + w][4 + d] = white[16 + w][28 - d] = true;
        }
    }
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    if (arrow(x + dx, y + dy) && white[y + dy][x + dx]) shape[y][x] = true;
                }
            }
        }
    }
    std::vector<uint8_t> out;
    auto put16 = [&](uint32_t v) { out.push_back(v & 0xff), out.push_back((v >> 8) & 0xff); };
    auto put32 = [&](uint32_t v) { put16(v & 0xffff), put16(v >> 16); };
    const uint32_t bytes = 40 + 8 + 128 + 128;
    put16(0), put16(2), put16(1);                                // a cursor file, one image
    out.push_back(32), out.push_back(32), out.push_back(0), out.push_back(0);
    put16(16), put16(16), put32(bytes), put32(22);               // hot spot, size, offset
    put32(40), put32(32), put32(64), put16(1), put16(1);         // 1 bit, XOR and AND masks
    put32(0), put32(0), put32(0), put32(0), put32(2), put32(0);
    put32(0x000000), put32(0xFFFFFF);                            // palette: black, white
    for (int pass = 0; pass < 2; ++pass) {                       // XOR (colour), then AND
        for (int y = 31; y >= 0; --y) {
            for (int byte = 0; byte < 4; ++byte) {
                uint8_t bits = 0;
                for (int b = 0; b < 8; ++b) {
                    const int x = byte * 8 + b;
                    const bool set = pass == 0 ? white[y][x] : !shape[y][x];
                    if (set) bits |= uint8_t(0x80 >> b);
                }
                out.push_back(bits);
            }
        }
    }
    FILE* file = std::fopen(path.c_str(), "wb");
    return file != nullptr && std::fwrite(out.data(), 1, out.size(), file) == out.size() &&
           std::fclose(file) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: make_images MARBLE_MAPS_DIR FONT.ttf OUT_DIR\n");
        return 2;
    }
    const std::string maps = argv[1], out = std::string(argv[3]) + "/";
    Font font;
    if (!font.load(argv[2])) {
        std::fprintf(stderr, "make_images: cannot read the font %s\n", argv[2]);
        return 1;
    }
    const Picture day = Load(maps + "/earth/bluemarble/bluemarble.jpg");
    const Picture night = Load(maps + "/earth/citylights/citylights.jpg");
    Picture moon = Load(maps + "/moon/clementine/clementine.jpg");
    FillGaps(moon);
    Picture reminder(214, 112), reminder2(428, 224);
    if (!TrayReminder(day, font, 1, &reminder) || !TrayReminder(day, font, 2, &reminder2)) {
        std::fprintf(stderr, "make_images: the close reminder's words do not fit\n");
        return 1;
    }

    // The Moon-phase picture's ball has an apparent radius of asin(0.4 / 1.78) against a half
    // field of 15 degrees: the face-on Moon fills the same part of its 64-pixel picture.
    const double moonRadius = 32 * std::tan(std::asin(0.4 / 1.78)) / std::tan(15 * kPi / 180);
    const auto lit = [](double) { return 1.0; };
    const auto fullyLit = [](double, double, double) { return 1.0; };
    const auto sunFrom = [](double side) {
        return [side](double u, double, double) {
            const double cosine = side * u;  // the Sun 90 degrees to the side
            return 0.07 + 0.93 * std::clamp(cosine * 12 + 0.5, 0.0, 1.0);
        };
    };
    // The Moon's face, for the clock and for the screen saver.
    const Picture moonFace =
        Disc(moon, 64, moonRadius, [lit](double u, double v, double z) { return lit(u + v + z); });
    bool ok = WriteBitmap(out + "earth_day.bmp", Resize(day, 1024, 512)) &&
              WriteBitmap(out + "earth_night.bmp", Resize(night, 1024, 512)) &&
              WriteBitmap(out + "clouds.bmp", Clouds(1024, 512)) &&
              WriteBitmap(out + "earth_icon.bmp", Disc(day, 64, 30, [](double, double, double z) {
                              return 0.35 + 0.65 * z;
                          })) &&
              WriteBitmap(out + "sun.bmp", SunSprite(32)) &&
              WriteBitmap(out + "moon_full.bmp", moonFace) &&
              WriteBitmap(out + "saver_moon_116.bmp", moonFace) &&
              WriteBitmap(out + "moon_new.bmp", Disc(moon, 64, moonRadius, [](double, double, double) { return 0.09; })) &&
              WriteBitmap(out + "moon_first.bmp", Disc(moon, 64, moonRadius, sunFrom(+1))) &&
              WriteBitmap(out + "moon_last.bmp", Disc(moon, 64, moonRadius, sunFrom(-1))) &&
              WriteDragCursor(out + "drag.cur") && WriteIcon(out + "solvane.ico", day) &&
              WriteBitmap(out + "pane_decoration.bmp", PaneDecoration(1)) &&
              WriteBitmap(out + "pane_decoration_200.bmp", PaneDecoration(2)) &&
              WriteBitmap(out + "tray_reminder.bmp", reminder) &&
              WriteBitmap(out + "tray_reminder_200.bmp", reminder2) &&
              // The Lunar Phases window: the four principal phases filling their pictures (a
              // ball of radius 30 in 64, which the window draws with its coverage as alpha),
              // the Moon's face and the Earth's day map.
              WritePhasePictures(out, moon, sunFrom) &&
              WriteBitmap(out + "moon_face_171.bmp", Disc(moon, 256, 126, fullyLit)) &&
              WriteBitmap(out + "earth_map_159.bmp", Resize(day, 256, 128));
    if (!ok) {
        std::fprintf(stderr, "make_images: cannot write into %s\n", argv[3]);
        return 1;
    }
    return 0;
}
