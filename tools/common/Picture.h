// The RGB picture the host art tools draw into, and its bitmap file: 24-bit bottom-up,
// written with the program's own bitmap writer.
#pragma once

#include "render/BitmapFile.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// An RGB picture, top row first.
struct Picture {
    int width = 0, height = 0;
    std::vector<float> rgb;  // 0..255
    Picture(int w, int h) : width(w), height(h), rgb(std::size_t(w) * h * 3, 0.0f) {}
    float* at(int x, int y) { return &rgb[(std::size_t(y) * width + x) * 3]; }
    const float* at(int x, int y) const { return &rgb[(std::size_t(y) * width + x) * 3]; }
    // Moves pixel (x, y) towards `colour` by `alpha` (0..1); outside the picture nothing.
    void blend(int x, int y, const float colour[3], float alpha) {
        if (x < 0 || y < 0 || x >= width || y >= height || alpha <= 0) return;
        alpha = std::min(alpha, 1.0f);
        float* c = at(x, y);
        for (int k = 0; k < 3; ++k) c[k] += (colour[k] - c[k]) * alpha;
    }
};

// The picture rounded to bytes: blue, green, red and a spare byte per pixel, top row first.
inline std::vector<uint8_t> PictureBytes(const Picture& p) {
    std::vector<uint8_t> bgrx(std::size_t(p.width) * p.height * 4, 0);
    for (int y = 0; y < p.height; ++y) {
        for (int x = 0; x < p.width; ++x) {
            const float* c = p.at(x, y);
            uint8_t* out = &bgrx[(std::size_t(y) * p.width + x) * 4];
            for (int k = 0; k < 3; ++k) out[2 - k] = uint8_t(std::clamp(std::lround(c[k]), 0L, 255L));
        }
    }
    return bgrx;
}

inline bool WriteBitmapBytes(const std::string& path, int width, int height,
                             const std::vector<uint8_t>& bgrx) {
    const std::ptrdiff_t stride = std::ptrdiff_t(width) * 4;
    return WriteBitmapFile(path, width, height, &bgrx[std::size_t(height - 1) * stride], -stride);
}

inline bool WriteBitmap(const std::string& path, const Picture& p) {
    return WriteBitmapBytes(path, p.width, p.height, PictureBytes(p));
}

// Stars on the program's night blue (RGB 0, 2, 22), the same everywhere the tools run.
inline void Starfield(Picture& p, uint32_t state, int count) {
    for (int y = 0; y < p.height; ++y) {
        for (int x = 0; x < p.width; ++x) {
            float* c = p.at(x, y);
            c[0] = 0, c[1] = 2, c[2] = 22;
        }
    }
    for (int i = 0; i < count; ++i) {
        state ^= state << 13, state ^= state >> 17, state ^= state << 5;
        const int x = int(state % uint32_t(p.width)), y = int((state >> 12) % uint32_t(p.height));
        const float level = 60.0f + float((state >> 5) % 150);
        float* c = p.at(x, y);
        c[0] = level * 0.85f, c[1] = level * 0.9f, c[2] = level;
    }
}
