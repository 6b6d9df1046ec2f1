#include "render/FormatPalette.h"

#include <cstddef>

namespace {

uint8_t ChannelLevel(unsigned index, int bits, int shift) {
    if (bits <= 0 || bits > 16 || shift < 0 || shift > 31) return 0;
    const unsigned top = (1u << bits) - 1;
    return uint8_t(((index >> shift) & top) * 255 / top);
}

}  // namespace

std::vector<PaletteColour> FormatPaletteColours(const PixelChannels& c) {
    std::vector<PaletteColour> colours;
    if (c.colourBits < 1 || c.colourBits > 15) return colours;
    colours.resize(std::size_t(1) << c.colourBits);
    for (unsigned i = 0; i < colours.size(); ++i) {
        colours[i] = {ChannelLevel(i, c.redBits, c.redShift), ChannelLevel(i, c.greenBits, c.greenShift),
                      ChannelLevel(i, c.blueBits, c.blueShift), 0};
    }
    return colours;
}
