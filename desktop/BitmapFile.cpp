#include "desktop/BitmapFile.h"

#include <cstddef>
#include <cstring>

using std::size_t;

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(uint8_t(v & 0xff));
    out.push_back(uint8_t((v >> 8) & 0xff));
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, v & 0xffff);
    Put16(out, v >> 16);
}

constexpr uint32_t kPixelsPerMetre = 2952;

}  // namespace

uint32_t BitmapRowBytes(int width) { return (uint32_t(width) * 3 + 3) / 4 * 4; }

std::vector<uint8_t> EncodeBitmapFile(int width, int height, const uint8_t* packedRows) {
    const uint32_t row = BitmapRowBytes(width), image = row * uint32_t(height);
    std::vector<uint8_t> out;
    out.reserve(54 + image);
    out.push_back('B');
    out.push_back('M');
    Put32(out, 54 + image);
    Put32(out, 0);
    Put32(out, 54);
    Put32(out, 40);
    Put32(out, uint32_t(width));
    Put32(out, uint32_t(height));
    Put16(out, 1);
    Put16(out, 24);
    Put32(out, 0);
    Put32(out, image);
    Put32(out, kPixelsPerMetre);
    Put32(out, kPixelsPerMetre);
    Put32(out, 0);
    Put32(out, 0);
    for (int y = 0; y < height; ++y) {
        const uint8_t* source = packedRows + size_t(y) * width * 3;
        out.insert(out.end(), source, source + size_t(width) * 3);
        out.insert(out.end(), row - size_t(width) * 3, 0);
    }
    return out;
}
