// A palette of 256 colours chosen for one picture by median cut, and the picture mapped onto
// it with light error diffusion. Same picture, same palette and indices.
#pragma once

#include "tools/common/PaletteBitmap.h"
#include "tools/common/Picture.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

namespace median_cut {

using Colour = std::array<uint8_t, 3>;

// A box of colours; the widest channel is split at the median until there are 256 boxes.
struct Box {
    std::vector<Colour> colours;
    int channel = 0, range = 0;
    void measure() {
        range = -1;
        for (int k = 0; k < 3; ++k) {
            uint8_t low = 255, high = 0;
            for (const Colour& c : colours) low = std::min(low, c[k]), high = std::max(high, c[k]);
            // Green counts most to the eye, blue least.
            const int weighted = (high - low) * (k == 1 ? 6 : k == 0 ? 4 : 3);
            if (weighted > range) range = weighted, channel = k;
        }
    }
    Colour mean() const {
        long sum[3] = {0, 0, 0};
        for (const Colour& c : colours) for (int k = 0; k < 3; ++k) sum[k] += c[k];
        const long n = long(colours.size());
        return {uint8_t((sum[0] + n / 2) / n), uint8_t((sum[1] + n / 2) / n), uint8_t((sum[2] + n / 2) / n)};
    }
};

inline Colour Rounded(const float* c) {
    Colour out;
    for (int k = 0; k < 3; ++k) out[k] = uint8_t(std::clamp(std::lround(c[k]), 0L, 255L));
    return out;
}

// The box to split next: the widest, weighted by how many pixels it holds so that large
// smooth areas (the sky's gradient) get enough shades and small bright details keep theirs.
inline double Priority(const Box& box) {
    return box.range * std::sqrt(double(box.colours.size()));
}

inline std::vector<Colour> Palette(const Picture& picture) {
    std::vector<Box> boxes(1);
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) boxes[0].colours.push_back(Rounded(picture.at(x, y)));
    }
    boxes[0].measure();
    while (boxes.size() < 256) {
        int widest = -1;
        for (int i = 0; i < int(boxes.size()); ++i) {
            if (boxes[i].range > 0 && (widest < 0 || Priority(boxes[i]) > Priority(boxes[widest]))) widest = i;
        }
        if (widest < 0) break;  // every box holds one colour
        Box& box = boxes[widest];
        const int k = box.channel;
        std::sort(box.colours.begin(), box.colours.end(), [k](const Colour& a, const Colour& b) {
            return a[k] != b[k] ? a[k] < b[k] : a < b;
        });
        // Cut at the median, moved so that one colour does not straddle the two halves.
        size_t cut = box.colours.size() / 2;
        while (cut > 0 && box.colours[cut - 1][k] == box.colours[cut][k]) --cut;
        if (cut == 0) {
            cut = box.colours.size() / 2;
            while (cut < box.colours.size() && box.colours[cut - 1][k] == box.colours[cut][k]) ++cut;
        }
        Box upper;
        upper.colours.assign(box.colours.begin() + long(cut), box.colours.end());
        box.colours.resize(cut);
        box.measure();
        upper.measure();
        boxes.push_back(std::move(upper));
    }
    std::vector<Colour> palette;
    for (const Box& box : boxes) palette.push_back(box.mean());
    std::sort(palette.begin(), palette.end(), [](const Colour& a, const Colour& b) {
        return a[0] + a[1] + a[2] != b[0] + b[1] + b[2] ? a[0] + a[1] + a[2] < b[0] + b[1] + b[2] : a < b;
    });
    palette.resize(256, Colour{0, 0, 0});
    return palette;
}

inline int Nearest(const std::vector<Colour>& palette, const float c[3]) {
    int best = 0;
    float bestDistance = 1e30f;
    for (int i = 0; i < int(palette.size()); ++i) {
        const float dr = palette[i][0] - c[0], dg = palette[i][1] - c[1], db = palette[i][2] - c[2];
        const float distance = 0.3f * dr * dr + 0.59f * dg * dg + 0.11f * db * db;
        if (distance < bestDistance) bestDistance = distance, best = i;
    }
    return best;
}

}  // namespace median_cut

// The picture on its own 256-colour palette. Half of each pixel's rounding error is passed
// on to its neighbours (Floyd-Steinberg weights): enough to hide bands in the smooth sky,
// too little to speckle the fine detail of small pictures.
inline PaletteImage MedianCut(const Picture& picture) {
    PaletteImage image;
    image.width = picture.width, image.height = picture.height;
    image.palette = median_cut::Palette(picture);
    Picture work = picture;
    for (int y = 0; y < work.height; ++y) {
        for (int x = 0; x < work.width; ++x) {
            float* c = work.at(x, y);
            for (int k = 0; k < 3; ++k) c[k] = std::clamp(c[k], 0.0f, 255.0f);
            const int i = median_cut::Nearest(image.palette, c);
            image.index.push_back(uint8_t(i));
            float error[3];
            for (int k = 0; k < 3; ++k) error[k] = (c[k] - image.palette[i][k]) * 0.5f;
            auto spread = [&](int dx, int dy, float weight) {
                if (x + dx < 0 || x + dx >= work.width || y + dy >= work.height) return;
                float* n = work.at(x + dx, y + dy);
                for (int k = 0; k < 3; ++k) n[k] += error[k] * weight;
            };
            spread(1, 0, 7 / 16.0f), spread(-1, 1, 3 / 16.0f), spread(0, 1, 5 / 16.0f), spread(1, 1, 1 / 16.0f);
        }
    }
    return image;
}
