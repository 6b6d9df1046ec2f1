// Draws the dialogs' art: the title banners and the button face strips, in the splash's night
// blue with DejaVu Sans text.
//   banner_NNN.bmp  a night-blue band with the window's name in white, left-aligned; the Lunar
//                   Phases banner carries a starfield and a thin crescent Moon
//   faces_NNN.bmp   three button faces side by side: normal, pressed, hover
// Each is drawn at 100 %, 150 % and 200 % of its size for displays of 96, 144 and 192 DPI
// (NNN_150.bmp, NNN_200.bmp beside NNN.bmp), and scaled_art.rc lists the larger ones as
// resources NNN + 1000 and NNN + 2000. All are 24-bit bottom-up Windows bitmaps. The face strips are loaded with
// LR_LOADMAP3DCOLORS, which swaps the greys 128, 192 and 223 for system colours: no pixel of
// this tool's output is one of those greys. Same fonts give the same bytes.
//
// usage: make_art BOLD.ttf OUT_DIR

#define STB_TRUETYPE_IMPLEMENTATION
#include "tools/common/TextLine.h"
#define STB_PERLIN_IMPLEMENTATION
#include <stb/stb_perlin.h>

#include "tools/common/Picture.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Colour {
    float c[3];
};

Colour Mix(Colour a, Colour b, float t) {
    return {{a.c[0] + (b.c[0] - a.c[0]) * t, a.c[1] + (b.c[1] - a.c[1]) * t,
             a.c[2] + (b.c[2] - a.c[2]) * t}};
}

float Clamp01(double v) { return float(std::clamp(v, 0.0, 1.0)); }

const Colour kWhite = {{255, 255, 255}};
const Colour kDialogBody = {{83, 84, 105}};  // the dialogs' face colour around the buttons
constexpr float kBannerTextHeight = 16;     // ascent to descent, pixels
constexpr float kFaceTextHeight = 15;

// Text in `colour` with its pen starting at `left`.
void Text(Picture& p, const Font& font, const std::string& text, float scale, float left,
          int baseline, Colour colour, float opacity = 1) {
    DrawTextLine(font, text, scale, left, baseline, [&](int x, int y, float coverage) {
        p.blend(x, y, colour.c, opacity * coverage);
    });
}

// A soft glow from the left of the band, where the title sits, and a faint line along its
// foot: the night blue of the splash.
void BannerGround(Picture& p, uint32_t seed, int stars) {
    Starfield(p, seed, stars);
    const Colour glow = {{16, 34, 92}};
    for (int y = 0; y < p.height; ++y) {
        for (int x = 0; x < p.width; ++x) {
            const double fx = x / double(p.width), fy = (y + 0.5) / p.height;
            const float alpha = Clamp01(0.55 * std::exp(-fx * 3.2) * (0.6 + 0.4 * fy));
            p.blend(x, y, glow.c, alpha);
        }
    }
    const Colour line = {{60, 110, 200}};
    for (int x = 0; x < p.width; ++x) {
        p.blend(x, p.height - 1, line.c, Clamp01(0.7 * std::exp(-x / (p.width * 0.6))));
    }
}

// A few bright stars with a soft cross, as on the splash.
void BrightStars(Picture& p, uint32_t state, int count, int avoidRight) {
    for (int i = 0; i < count; ++i) {
        state ^= state << 13, state ^= state >> 17, state ^= state << 5;
        const int x = int(state % uint32_t(p.width - avoidRight));
        const int y = 2 + int((state >> 11) % uint32_t(p.height - 4));
        const float level = 0.6f + float((state >> 3) % 40) / 100.0f;
        const Colour star = Mix({{170, 190, 255}}, kWhite, float((state >> 7) % 10) / 10.0f);
        p.blend(x, y, star.c, level);
        for (int d : {-1, 1}) {
            p.blend(x + d, y, star.c, 0.35f * level);
            p.blend(x, y + d, star.c, 0.35f * level);
        }
    }
}

// A thin waxing crescent, lit from the right and a little above, the rest of the disc in
// faint earthshine, with a halo on its lit side. Surface markings are fixed noise.
void Crescent(Picture& p, double cx, double cy, double radius) {
    const double a = 48 * 3.14159265358979 / 180, tilt = 22 * 3.14159265358979 / 180;
    const double sx = std::sin(a) * std::cos(tilt), sy = std::sin(a) * std::sin(tilt), sz = -std::cos(a);
    const Colour sunlit = {{238, 234, 222}}, earthshine = {{20, 25, 42}}, halo = {{120, 150, 230}};
    const int x0 = std::max(0, int(cx - radius - 12)), x1 = std::min(p.width, int(cx + radius + 12));
    const int y0 = std::max(0, int(cy - radius - 12)), y1 = std::min(p.height, int(cy + radius + 12));
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            float sum[3] = {0, 0, 0};
            int inside = 0;
            for (int s = 0; s < 16; ++s) {
                const double u = (x + (s % 4 + 0.5) / 4 - cx) / radius;
                const double v = (cy - y - (s / 4 + 0.5) / 4) / radius;
                const double rr = u * u + v * v;
                if (rr >= 1) continue;
                ++inside;
                const double z = std::sqrt(1 - rr);
                const double light = u * sx + v * sy + z * sz;
                const float marks = stb_perlin_fbm_noise3(float(u * 2.2), float(v * 2.2), float(z * 2.2 + 5), 2.0f, 0.5f, 4);
                const double albedo = 0.82 + 0.35 * marks;
                const float lit = Clamp01(light * 7 + 0.15);
                const Colour dark = Mix({{0, 0, 0}}, earthshine, float(albedo));
                const Colour c = Mix(dark, sunlit, float(lit * albedo));
                for (int k = 0; k < 3; ++k) sum[k] += c.c[k];
            }
            const double r = std::hypot(x + 0.5 - cx, y + 0.5 - cy) / radius;
            const double side = ((x + 0.5 - cx) * sx - (y + 0.5 - cy) * sy) / (r * radius + 1e-9);
            if (r > 1) {
                p.blend(x, y, halo.c, Clamp01(0.22 * std::exp(-(r - 1) * radius / 4) * std::max(0.0, side)));
            }
            if (inside > 0) {
                const Colour c = {{sum[0] / inside, sum[1] / inside, sum[2] / inside}};
                p.blend(x, y, c.c, inside / 16.0f);
            }
        }
    }
}

// A banner `width` x `height` at 100 %, drawn `zoom` times as large.
Picture Banner(const Font& bold, int width, int height, const std::string& title, uint32_t seed, double zoom) {
    const bool large = height > 40;
    width = int(std::lround(width * zoom)), height = int(std::lround(height * zoom));
    Picture p(width, height);
    BannerGround(p, seed, int(width * height / (large ? 90 : 260) / (zoom * zoom)));
    if (large) {
        BrightStars(p, seed * 7 + 1, int(width / zoom) / 60, int(130 * zoom));
        Crescent(p, width - 62.0 * zoom, height / 2.0, height * 0.34);
    }
    const float scale = bold.scale(float(kBannerTextHeight * zoom));
    const int baseline = int(std::lround((height + bold.capHeight(scale)) / 2));
    const float left = float((large ? 14 : 8) * zoom);
    const float shadow = float(zoom);
    Text(p, bold, title, scale, left + shadow, int(baseline + std::lround(shadow)), {{0, 0, 8}}, 0.7f);  // a soft shadow
    Text(p, bold, title, scale, left, baseline, kWhite);
    return p;
}

enum class Face { kNormal, kPressed, kHover };

// Signed distance (pixels) from the edge of a rounded rectangle; negative inside.
double RoundedBox(double x, double y, double left, double top, double right, double bottom,
                  double radius) {
    const double cx = (left + right) / 2, cy = (top + bottom) / 2;
    const double hx = (right - left) / 2 - radius, hy = (bottom - top) / 2 - radius;
    const double qx = std::abs(x - cx) - hx, qy = std::abs(y - cy) - hy;
    return std::hypot(std::max(qx, 0.0), std::max(qy, 0.0)) + std::min(std::max(qx, qy), 0.0) - radius;
}

// One button face at (ox, 0) of the strip: a rounded slate-blue button with a light border
// on the dialog's colour; pressed is darker and inset with its label moved down and right,
// hover is brighter with a glowing border.
void DrawFace(Picture& p, const Font& font, int ox, int width, const std::string& label, Face face, double zoom) {
    const int height = p.height;
    const double left = 2 * zoom, top = 2 * zoom, right = width - 2 * zoom, bottom = height - 2 * zoom, radius = 7 * zoom;
    Colour fillTop = {{84, 100, 148}}, fillBottom = {{52, 64, 106}}, border = {{172, 186, 224}};
    if (face == Face::kPressed) fillTop = {{34, 42, 74}}, fillBottom = {{50, 60, 96}}, border = {{108, 118, 156}};
    if (face == Face::kHover) fillTop = {{108, 130, 190}}, fillBottom = {{68, 86, 140}}, border = {{168, 226, 255}};
    const Colour glow = {{110, 200, 255}}, shade = {{10, 14, 30}}, highlight = {{200, 214, 250}};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double px = x + 0.5, py = y + 0.5;
            const double d = RoundedBox(px, py, left, top, right, bottom, radius);
            float* c = p.at(ox + x, y);
            for (int k = 0; k < 3; ++k) c[k] = kDialogBody.c[k];
            if (face == Face::kHover && d > 0) {  // the glow fades out before the face's corners
                p.blend(ox + x, y, glow.c, Clamp01(0.6 * std::exp(-d / (1.1 * zoom)) * std::max(0.0, 1 - d / (3 * zoom))));
            }
            p.blend(ox + x, y, border.c, Clamp01(0.5 * zoom - d));
            const float inner = Clamp01(0.5 - (d + zoom));
            if (inner <= 0) continue;
            const float t = float((py - top) / (bottom - top));
            Colour fill = Mix(fillTop, fillBottom, t);
            if (face == Face::kPressed) {  // shadow inside the top and left edges
                const float depth = Clamp01(0.55 * std::exp(-(py - top - zoom) / (2.0 * zoom)) +
                                            0.35 * std::exp(-(px - left - zoom) / (2.0 * zoom)));
                fill = Mix(fill, shade, depth);
            } else {  // a light line just inside the top edge
                fill = Mix(fill, highlight, Clamp01(0.35 * std::exp(-std::pow((py - top - 1.8 * zoom) / zoom, 2.0))));
            }
            p.blend(ox + x, y, fill.c, inner);
        }
    }
    float scale = font.scale(float(kFaceTextHeight * zoom));
    while (TextWidth(font, label, scale) > width - 16 * zoom) scale *= 0.97f;  // long labels fit
    const int shift = face == Face::kPressed ? int(std::lround(zoom)) : 0;
    const float textLeft = ox + (width - TextWidth(font, label, scale)) / 2 + shift;
    const int baseline = int(std::lround((height + font.capHeight(scale)) / 2)) + shift;
    const float shadow = float(zoom);
    if (face != Face::kPressed) {
        Text(p, font, label, scale, textLeft + shadow, int(baseline + std::lround(shadow)), {{14, 18, 40}}, 0.55f);
    }
    Text(p, font, label, scale, textLeft, baseline, face == Face::kPressed ? Colour{{226, 232, 246}} : kWhite);
}

// Three faces `faceWidth` x 40 at 100 %, drawn `zoom` times as large.
Picture FaceStrip(const Font& font, int faceWidth, const std::string& label, double zoom) {
    faceWidth = int(std::lround(faceWidth * zoom));
    Picture p(faceWidth * 3, int(std::lround(40 * zoom)));
    DrawFace(p, font, 0, faceWidth, label, Face::kNormal, zoom);
    DrawFace(p, font, faceWidth, faceWidth, label, Face::kPressed, zoom);
    DrawFace(p, font, 2 * faceWidth, faceWidth, label, Face::kHover, zoom);
    return p;
}

// The picture's bytes with the greys that LR_LOADMAP3DCOLORS replaces moved one step of blue.
bool WriteArt(const std::string& path, const Picture& p) {
    std::vector<uint8_t> bgrx = PictureBytes(p);
    for (std::size_t i = 0; i < bgrx.size(); i += 4) {
        const uint8_t b = bgrx[i];
        if (bgrx[i + 1] == b && bgrx[i + 2] == b && (b == 128 || b == 192 || b == 223)) bgrx[i] = b + 1;
    }
    return WriteBitmapBytes(path, p.width, p.height, bgrx);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_art BOLD.ttf OUT_DIR\n");
        return 2;
    }
    Font bold;
    if (!bold.load(argv[1])) {
        std::fprintf(stderr, "make_art: cannot read the font %s\n", argv[1]);
        return 1;
    }
    const std::string out = std::string(argv[2]) + "/";
    struct BannerSpec { int id, width, height; const char* title; };
    const BannerSpec banners[] = {
        {130, 700, 86, "Lunar Phases"},        {151, 221, 26, "Program Information"},
        {153, 260, 26, "Clock Settings"},      {154, 221, 26, "Home Location"},
        {155, 293, 26, "General Settings"},    {156, 365, 26, "United States Places"},
        {157, 332, 26, "Set Clock"},           {160, 166, 26, "Solvane"},
        {161, 166, 26, "Eclipses"},
    };
    struct FaceSpec { int id, faceWidth; const char* label; };
    const FaceSpec faces[] = {
        {147, 100, "Close"},  {149, 100, "Close"},     {162, 100, "Save"},
        {163, 100, "Cancel"}, {164, 100, "Help"},      {165, 100, "Change..."},
        {169, 100, "Set"},    {170, 100, "Info"},
        {166, 307, "Lookup Your U.S. Location"},       {167, 307, "Look Up Your Location On The Web"},
    };
    struct Scale { double zoom; const char* suffix; int idOffset; };
    const Scale scales[] = {{1.0, "", 0}, {1.5, "_150", 1000}, {2.0, "_200", 2000}};
    bool ok = true;
    std::string list = "// Made by make_art: the banners and button faces at 150 % and 200 %.\n";
    const auto add = [&](const std::string& name, int id, const Scale& s, const Picture& p) {
        const std::string file = name + "_" + std::to_string(id) + s.suffix + ".bmp";
        ok = ok && WriteArt(out + file, p);
        if (s.idOffset > 0) list += std::to_string(id + s.idOffset) + " BITMAP \"" + file + "\"\n";
    };
    for (const Scale& s : scales) {
        for (const BannerSpec& b : banners) {
            add("banner", b.id, s, Banner(bold, b.width, b.height, b.title, 0x5eed0000u + uint32_t(b.id), s.zoom));
        }
        for (const FaceSpec& f : faces) add("faces", f.id, s, FaceStrip(bold, f.faceWidth, f.label, s.zoom));
    }
    if (std::FILE* rc = std::fopen((out + "scaled_art.rc").c_str(), "wb")) {
        ok = std::fwrite(list.data(), 1, list.size(), rc) == list.size() && ok;
        ok = std::fclose(rc) == 0 && ok;
    } else {
        ok = false;
    }
    if (!ok) {
        std::fprintf(stderr, "make_art: cannot write into %s\n", argv[2]);
        return 1;
    }
    return 0;
}
