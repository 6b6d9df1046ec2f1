// Draws the splash bitmap: a starfield over the limb of a night Earth with a sunrise glint,
// the program's name and version. Output: a 640x480 Windows bitmap with an 8-bit palette, and
// the same drawn at twice the size (1280x960) for screens of high DPI. Same fonts and
// arguments give the same bytes.
//
// usage: make_splash BOLD.ttf REGULAR.ttf VERSION OUT.bmp OUT_200.bmp

#define STB_TRUETYPE_IMPLEMENTATION
#include "tools/common/PaletteBitmap.h"
#include "tools/common/TextLine.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 640;  // at 100 %; all lengths below are, and the canvas has its zoom
constexpr int kHeight = 480;

struct Rgb {
    float r, g, b;
};

Rgb Mix(Rgb a, Rgb b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

struct Canvas {
    explicit Canvas(int zoom) : zoom(zoom), width(kWidth * zoom), height(kHeight * zoom), pixels(size_t(width) * height) {}
    int zoom, width, height;
    std::vector<Rgb> pixels;
    Rgb& at(int x, int y) { return pixels[size_t(y) * width + x]; }
    void blend(int x, int y, Rgb colour, float alpha) {
        if (x < 0 || y < 0 || x >= width || y >= height || alpha <= 0) return;
        at(x, y) = Mix(at(x, y), colour, std::min(alpha, 1.0f));
    }
};

// A small fixed pseudo-random sequence so that the starfield is the same at every build.
struct Sequence {
    uint32_t state = 0x50171a4eu;
    float next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return (state & 0xffffff) / float(0x1000000);
    }
};

// The palette: a cool ramp from black through navy and sky blue to white for space, Earth and
// text, and a warm ramp for the sunrise glint.
std::vector<Rgb> MakePalette() {
    const Rgb cool[] = {{0, 0, 0},       {6, 10, 30},     {14, 30, 72},   {30, 70, 140},
                        {70, 140, 220},  {160, 210, 255}, {255, 255, 255}};
    const Rgb warm[] = {{60, 30, 10}, {200, 110, 40}, {255, 200, 120}, {255, 250, 230}};
    std::vector<Rgb> palette;
    for (int i = 0; i < 192; ++i) {
        float t = i / 191.0f * 6;
        int k = std::min(int(t), 5);
        palette.push_back(Mix(cool[k], cool[k + 1], t - k));
    }
    for (int i = 0; i < 64; ++i) {
        float t = i / 63.0f * 3;
        int k = std::min(int(t), 2);
        palette.push_back(Mix(warm[k], warm[k + 1], t - k));
    }
    return palette;
}

void DrawSpace(Canvas& canvas) {
    const int w = canvas.width, h = canvas.height;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            float dx = (x - w * 0.5f) / w, dy = (y - h * 0.35f) / h;
            float glow = std::max(0.0f, 1.0f - std::sqrt(dx * dx + dy * dy) * 1.6f);
            canvas.at(x, y) = Mix({2, 3, 10}, {10, 16, 44}, glow * glow);
        }
    }
    Sequence random;
    for (int i = 0; i < 420; ++i) {
        int x = int(random.next() * w), y = int(random.next() * h);
        float brightness = std::pow(random.next(), 3.0f);
        Rgb colour = Mix({150, 170, 255}, {255, 255, 255}, random.next());
        canvas.blend(x, y, colour, 0.25f + 0.75f * brightness);
        if (brightness > 0.6f) {  // the brightest stars get a soft cross
            for (int d : {-1, 1}) {
                canvas.blend(x + d, y, colour, 0.35f * brightness);
                canvas.blend(x, y + d, colour, 0.35f * brightness);
            }
        }
    }
}

// The Earth's night side seen from orbit: a large disc whose limb arcs across the lower third,
// an atmosphere glowing blue along it and the Sun about to rise at its crest.
void DrawEarth(Canvas& canvas) {
    const float z = float(canvas.zoom);
    const float cx = canvas.width * 0.5f, cy = (kHeight + 870.0f) * z, radius = 1040.0f * z;
    const float glintX = canvas.width * 0.62f;
    for (int y = 0; y < canvas.height; ++y) {
        for (int x = 0; x < canvas.width; ++x) {
            float d = (std::hypot(x - cx, y - cy) - radius) / z;  // negative inside the Earth
            float glint = std::exp(-std::pow((x - glintX) / (90.0f * z), 2.0f));
            if (d < 0) {
                float depth = std::min(-d / 160.0f, 1.0f);
                Rgb ground = Mix({20, 50, 110}, {3, 6, 18}, std::sqrt(depth));
                canvas.at(x, y) = Mix(ground, {255, 200, 120}, glint * std::exp(d / 6.0f) * 0.9f);
            } else {
                float air = std::exp(-d / 14.0f);
                canvas.blend(x, y, {90, 160, 255}, air * 0.9f);
                canvas.blend(x, y, {255, 190, 110}, glint * std::exp(-d / 9.0f));
            }
        }
    }
}

// Draws `text` centred on `centreX` with its baseline at `baseline` (lengths at 100 %).
void DrawText(Canvas& canvas, const Font& font, const std::string& text, float pixelHeight,
              float centreX, int baseline, Rgb colour, float tracking = 0) {
    const float z = float(canvas.zoom);
    const float scale = font.scale(pixelHeight * z);
    tracking *= z;
    const float left = centreX * z - TextWidth(font, text, scale, tracking) / 2;
    DrawTextLine(font, text, scale, left, baseline * canvas.zoom,
                 [&](int x, int y, float alpha) { canvas.blend(x, y, colour, alpha); }, tracking,
                 false);
}

int Nearest(const std::vector<Rgb>& palette, Rgb c) {
    int best = 0;
    float bestDistance = 1e30f;
    for (int i = 0; i < int(palette.size()); ++i) {
        float dr = palette[i].r - c.r, dg = palette[i].g - c.g, db = palette[i].b - c.b;
        float distance = 0.3f * dr * dr + 0.59f * dg * dg + 0.11f * db * db;
        if (distance < bestDistance) bestDistance = distance, best = i;
    }
    return best;
}

// The canvas as palette indices, each pixel the nearest of the palette's colours.
PaletteImage Quantise(Canvas& canvas, const std::vector<Rgb>& palette) {
    PaletteImage image;
    image.width = canvas.width, image.height = canvas.height;
    for (const Rgb& c : palette) {
        image.palette.push_back({uint8_t(std::lround(c.r)), uint8_t(std::lround(c.g)),
                                 uint8_t(std::lround(c.b))});
    }
    for (int y = 0; y < canvas.height; ++y) {
        for (int x = 0; x < canvas.width; ++x) image.index.push_back(uint8_t(Nearest(palette, canvas.at(x, y))));
    }
    return image;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 6) {
        std::fprintf(stderr, "usage: make_splash BOLD.ttf REGULAR.ttf VERSION OUT.bmp OUT_200.bmp\n");
        return 2;
    }
    Font bold, regular;
    if (!bold.load(argv[1]) || !regular.load(argv[2])) {
        std::fprintf(stderr, "make_splash: cannot read the fonts\n");
        return 1;
    }
    for (int zoom = 1; zoom <= 2; ++zoom) {
        Canvas canvas(zoom);
        DrawSpace(canvas);
        DrawEarth(canvas);
        DrawText(canvas, bold, "Solvane", 92, kWidth / 2.0f, 178, {255, 255, 255}, 2);
        DrawText(canvas, regular, "DESKTOP EARTH CLOCK", 19, kWidth / 2.0f, 214, {160, 200, 250}, 5);
        DrawText(canvas, regular, std::string("Version ") + argv[3], 15, kWidth / 2.0f, 452,
                 {200, 215, 240}, 1);
        const char* out = argv[3 + zoom];
        if (!WritePaletteBitmap(out, Quantise(canvas, MakePalette()))) {
            std::fprintf(stderr, "make_splash: cannot write %s\n", out);
            return 1;
        }
    }
    return 0;
}
