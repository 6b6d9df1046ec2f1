// The dialogs' art as the resource script and the program expect it: 24-bit bottom-up
// bitmaps of the exact sizes the dialogs are laid out for, and button strips whose three
// faces differ and survive LR_LOADMAP3DCOLORS unchanged.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

struct Bitmap {
    int32_t width = 0, height = 0;
    uint16_t bits = 0;
    uint32_t compression = ~0u, offset = 0;
    std::vector<uint8_t> bytes;
    // Pixel (x, y), y counted from the top, as blue-green-red.
    uint32_t pixel(int x, int y) const {
        const size_t row = (size_t(width) * 3 + 3) / 4 * 4;
        const uint8_t* p = &bytes[offset + size_t(height - 1 - y) * row + size_t(x) * 3];
        return p[0] | p[1] << 8 | p[2] << 16;
    }
};

uint32_t Read32(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t(b[at + 3]) << 24;
}

Bitmap Load(const std::string& name) {
    std::ifstream file(std::string(SOLVANE_TEST_ART_DIR) + "/" + name, std::ios::binary);
    Bitmap bmp;
    bmp.bytes.assign(std::istreambuf_iterator<char>(file), {});
    if (bmp.bytes.size() < 54 || bmp.bytes[0] != 'B' || bmp.bytes[1] != 'M') return bmp;
    bmp.offset = Read32(bmp.bytes, 10);
    bmp.width = int32_t(Read32(bmp.bytes, 18));
    bmp.height = int32_t(Read32(bmp.bytes, 22));
    bmp.bits = uint16_t(bmp.bytes[28] | bmp.bytes[29] << 8);
    bmp.compression = Read32(bmp.bytes, 30);
    return bmp;
}

struct Expected {
    const char* name;
    int width, height;
};

const Expected kArt[] = {
    {"banner_130.bmp", 700, 86},  {"banner_151.bmp", 221, 26},    {"banner_153.bmp", 260, 26},
    {"banner_154.bmp", 221, 26},  {"banner_155.bmp", 293, 26},    {"banner_156.bmp", 365, 26},
    {"banner_157.bmp", 332, 26},  {"banner_160.bmp", 166, 26},    {"faces_147.bmp", 300, 40},
    {"faces_149.bmp", 300, 40},   {"faces_162.bmp", 300, 40},     {"faces_163.bmp", 300, 40},
    {"faces_164.bmp", 300, 40},   {"faces_165.bmp", 300, 40},     {"faces_169.bmp", 300, 40},
    {"faces_170.bmp", 300, 40},   {"faces_166.bmp", 921, 40},     {"faces_167.bmp", 921, 40},
    {"phase_131.bmp", 64, 64},    {"phase_132.bmp", 64, 64},      {"phase_133.bmp", 64, 64},
    {"phase_134.bmp", 64, 64},    {"moon_face_171.bmp", 256, 256}, {"earth_map_159.bmp", 256, 128},
};

TEST(ArtFiles, AreBottomUpRgbBitmapsOfTheirDialogSizes) {
    for (const Expected& e : kArt) {
        const Bitmap bmp = Load(e.name);
        SCOPED_TRACE(e.name);
        EXPECT_EQ(bmp.width, e.width);
        EXPECT_EQ(bmp.height, e.height);  // positive: bottom-up
        EXPECT_EQ(bmp.bits, 24);
        EXPECT_EQ(bmp.compression, 0u);
        EXPECT_EQ(bmp.bytes.size(), bmp.offset + size_t(e.height) * ((size_t(e.width) * 3 + 3) / 4 * 4));
    }
}

TEST(ArtFiles, ButtonFacesDifferAndKeepClearOfTheMappedGreys) {
    for (const Expected& e : kArt) {
        if (std::string(e.name).rfind("faces_", 0) != 0) continue;
        const Bitmap bmp = Load(e.name);
        SCOPED_TRACE(e.name);
        ASSERT_EQ(bmp.width, e.width);
        const int face = bmp.width / 3;
        int differ[3] = {0, 0, 0};  // normal-pressed, pressed-hover, normal-hover
        for (int y = 0; y < bmp.height; ++y) {
            for (int x = 0; x < face; ++x) {
                const uint32_t normal = bmp.pixel(x, y), pressed = bmp.pixel(face + x, y),
                               hover = bmp.pixel(2 * face + x, y);
                differ[0] += normal != pressed, differ[1] += pressed != hover, differ[2] += normal != hover;
            }
        }
        for (int d : differ) EXPECT_GT(d, face * bmp.height / 4);
        for (int y = 0; y < bmp.height; ++y) {
            for (int x = 0; x < bmp.width; ++x) {
                const uint32_t p = bmp.pixel(x, y);
                EXPECT_TRUE(p != 0x808080 && p != 0xC0C0C0 && p != 0xDFDFDF) << x << "," << y;
            }
        }
        for (int left : {0, face - 1, face, 2 * face - 1, 2 * face, 3 * face - 1}) {
            for (int y : {0, bmp.height - 1}) {  // the dialog's colour outside the round corners
                EXPECT_EQ(bmp.pixel(left, y), 0x535469u) << left << "," << y;
            }
        }
    }
}

}  // namespace
