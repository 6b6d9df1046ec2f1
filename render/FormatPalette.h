// The colours of the logical palette a palette-based pixel format asks for: one entry per
// pixel value, each channel's bits spread evenly over 0 to 255.
#pragma once

#include <cstdint>
#include <vector>

// The colour layout of a pixel format, as its descriptor gives it.
struct PixelChannels {
    int colourBits = 0;
    int redBits = 0, redShift = 0;
    int greenBits = 0, greenShift = 0;
    int blueBits = 0, blueShift = 0;
};

struct PaletteColour {
    uint8_t red = 0, green = 0, blue = 0, flags = 0;
};

// 2^colourBits entries; for entry i, red = ((i >> redShift) & r) * 255 / r with
// r = 2^redBits - 1 (truncated), green and blue alike; flags 0. A channel of no bits is 0.
// Empty for colourBits outside 1 to 15: a logical palette holds at most 65535 entries.
std::vector<PaletteColour> FormatPaletteColours(const PixelChannels& channels);
