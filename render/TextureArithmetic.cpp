#include "render/TextureArithmetic.h"

#include <cstddef>

using std::size_t;

uint8_t SpriteAlpha(uint8_t blue, uint8_t green, uint8_t red) {
    const int average = (blue + green + red) / 3;
    return uint8_t(average < 10 ? 0 : average);
}

std::vector<uint8_t> SpriteRgba(const uint8_t* bgr, int width, int height) {
    std::vector<uint8_t> rgba(size_t(width) * height * 4);
    for (size_t i = 0, n = size_t(width) * height; i < n; ++i) {
        const uint8_t* p = bgr + 3 * i;
        rgba[4 * i] = p[2];
        rgba[4 * i + 1] = p[1];
        rgba[4 * i + 2] = p[0];
        rgba[4 * i + 3] = SpriteAlpha(p[0], p[1], p[2]);
    }
    return rgba;
}

std::vector<uint8_t> CloudsComposite(const uint8_t* clouds, int cloudsWidth, int cloudsHeight,
                                     const uint8_t* day, int dayWidth, int dayHeight) {
    if (cloudsWidth != dayWidth || cloudsHeight != dayHeight || dayWidth <= 0 || dayHeight <= 0) {
        return {};
    }
    const int width = dayWidth, height = dayHeight;
    std::vector<uint8_t> rgb(size_t(width) * height * 3);
    for (size_t i = 0, n = size_t(width) * height; i < n; ++i) {
        const uint8_t* c = clouds + 3 * i;
        const uint8_t* d = day + 3 * i;
        float s = (c[0] + c[1] + c[2]) * 0.33333334f + 63;
        if (s > 255) s = 255;
        const float q = s * 0.003921569f;
        for (int k = 0; k < 3; ++k) {
            rgb[3 * i + 2 - k] = uint8_t(int(d[k] * (1 - q)) + int(c[k] * q));
        }
    }
    return rgb;
}

void MoonImagePixel(const uint8_t bgr[3], uint8_t rgba[4]) {
    if ((bgr[0] + bgr[1] + bgr[2]) / 3 >= 5) {
        rgba[0] = bgr[2], rgba[1] = bgr[1], rgba[2] = bgr[0], rgba[3] = 255;
    } else {
        rgba[0] = rgba[1] = rgba[2] = rgba[3] = 0;
    }
}

std::vector<uint8_t> HalveImage(const std::vector<uint8_t>& pixels, int width, int height,
                                int channels) {
    const int w = width > 1 ? width / 2 : 1, h = height > 1 ? height / 2 : 1;
    const int dx = width > 1 ? 1 : 0, dy = height > 1 ? 1 : 0;
    std::vector<uint8_t> out(size_t(w) * h * channels);
    for (int y = 0; y < h; ++y) {
        const uint8_t* row0 = &pixels[size_t((y << dy)) * width * channels];
        const uint8_t* row1 = &pixels[size_t((y << dy) + dy) * width * channels];
        for (int x = 0; x < w; ++x) {
            const size_t a = size_t(x << dx) * channels, b = size_t((x << dx) + dx) * channels;
            for (int k = 0; k < channels; ++k) {
                out[(size_t(y) * w + x) * channels + k] =
                    uint8_t((row0[a + k] + row0[b + k] + row1[a + k] + row1[b + k] + 2) / 4);
            }
        }
    }
    return out;
}
