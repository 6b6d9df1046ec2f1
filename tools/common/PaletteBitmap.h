// An 8-bit Windows bitmap for the host art tools: a palette of up to 256 colours and one
// palette index per pixel. Written uncompressed with a BITMAPINFOHEADER, rows bottom-up and
// padded to four bytes, biClrUsed set, as LoadBitmap and LoadImage read it.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

struct PaletteImage {
    int width = 0, height = 0;
    std::vector<std::array<uint8_t, 3>> palette;  // red, green, blue
    std::vector<uint8_t> index;                   // one per pixel, top row first
};

inline std::vector<uint8_t> EncodePaletteBitmap(const PaletteImage& image) {
    const uint32_t row = (uint32_t(image.width) + 3) / 4 * 4;
    const uint32_t colours = uint32_t(image.palette.size());
    const uint32_t headers = 14 + 40 + colours * 4, imageBytes = row * uint32_t(image.height);
    std::vector<uint8_t> out;
    auto put16 = [&](uint32_t v) { out.push_back(v & 0xff), out.push_back((v >> 8) & 0xff); };
    auto put32 = [&](uint32_t v) { put16(v & 0xffff), put16(v >> 16); };
    out.push_back('B'), out.push_back('M');
    put32(headers + imageBytes), put32(0), put32(headers);
    put32(40), put32(uint32_t(image.width)), put32(uint32_t(image.height)), put16(1), put16(8);
    put32(0), put32(imageBytes), put32(2835), put32(2835);  // BI_RGB, 72 dots per inch
    put32(colours), put32(0);
    for (const auto& c : image.palette) {
        out.push_back(c[2]), out.push_back(c[1]), out.push_back(c[0]), out.push_back(0);
    }
    for (int y = image.height - 1; y >= 0; --y) {
        const uint8_t* first = &image.index[size_t(y) * image.width];
        out.insert(out.end(), first, first + image.width);
        out.insert(out.end(), row - uint32_t(image.width), 0);
    }
    return out;
}

inline bool WritePaletteBitmap(const std::string& path, const PaletteImage& image) {
    const std::vector<uint8_t> bytes = EncodePaletteBitmap(image);
    FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    return std::fclose(out) == 0 && written;
}
