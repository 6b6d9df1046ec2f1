// The dialogs' art as the resource script and the program expect it: 24-bit bottom-up
// bitmaps of the exact sizes the dialogs are laid out for, button strips whose three faces
// differ and survive LR_LOADMAP3DCOLORS unchanged, and the screen saver's pictures.
#include "almanac/LunarPhasesLayout.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

struct Bitmap {
    int32_t width = 0, height = 0;
    uint16_t bits = 0;
    uint32_t headerSize = 0, compression = ~0u, offset = 0, coloursUsed = 0;
    std::vector<uint8_t> bytes;
    size_t row() const { return (size_t(width) * bits / 8 + 3) / 4 * 4; }
    const uint8_t* address(int x, int y) const {
        return &bytes[offset + size_t(height - 1 - y) * row() + size_t(x) * bits / 8];
    }
    // Pixel (x, y), y counted from the top, as blue-green-red; through the palette at 8 bits.
    uint32_t pixel(int x, int y) const {
        const uint8_t* p = bits == 8 ? &bytes[14 + headerSize + 4 * size_t(*address(x, y))] : address(x, y);
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
    bmp.headerSize = Read32(bmp.bytes, 14);
    bmp.width = int32_t(Read32(bmp.bytes, 18));
    bmp.height = int32_t(Read32(bmp.bytes, 22));
    bmp.bits = uint16_t(bmp.bytes[28] | bmp.bytes[29] << 8);
    bmp.compression = Read32(bmp.bytes, 30);
    bmp.coloursUsed = Read32(bmp.bytes, 46);
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
    {"saver_moon_116.bmp", 64, 64},
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

int Red(uint32_t bgr) { return int(bgr >> 16 & 0xff); }
int Green(uint32_t bgr) { return int(bgr >> 8 & 0xff); }
int Blue(uint32_t bgr) { return int(bgr & 0xff); }
int Sum(uint32_t bgr) { return Red(bgr) + Green(bgr) + Blue(bgr); }

// The night-blue sky: dark, blue above red.
void ExpectSky(const Bitmap& bmp, int x, int y) {
    const uint32_t p = bmp.pixel(x, y);
    EXPECT_LT(Sum(p), 110) << x << "," << y;
    EXPECT_GE(Blue(p), Red(p)) << x << "," << y;
}

// Whether white text shows somewhere in the rows from `top` to `bottom`, columns from `left`
// to `right`.
bool HasWhite(const Bitmap& bmp, int left, int top, int right, int bottom) {
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) {
            const uint32_t p = bmp.pixel(x, y);
            if (Red(p) > 220 && Green(p) > 220 && Blue(p) > 220) return true;
        }
    }
    return false;
}

struct SaverPicture {
    const char* name;
    int width, height;
    int globeX, globeY, radius;  // the globe's centre and radius
};

const SaverPicture kSaverPictures[] = {
    {"saver_preview_105.bmp", 152, 112, 76, 46, 37},
    {"saver_config_122.bmp", 229, 123, 164, 61, 52},
};

// The Lunar Phases window blends the phase pictures with the ball's coverage as alpha: black
// exactly where the ball covers nothing, and no channel above the coverage (a premultiplied
// colour), else the Moon would show a square or a bright fringe over the window.
TEST(ArtFiles, PhasePicturesArePremultipliedByTheBallsCoverage) {
    for (const std::string name : {"phase_131", "phase_132", "phase_133", "phase_134", "phase_131_200", "phase_132_200",
                                   "phase_133_200", "phase_134_200"}) {
        SCOPED_TRACE(name);
        const Bitmap bmp = Load(name + ".bmp");
        const int n = name.size() > 9 ? 2 * kPhasePictureSize : kPhasePictureSize, zoom = n / kPhasePictureSize;
        ASSERT_EQ(bmp.width, n);
        int uncovered = 0, whole = 0, over = 0, blackOutside = 0;
        for (int y = 0; y < n; ++y) {
            for (int x = 0; x < n; ++x) {
                const uint32_t c = bmp.pixel(x, y);
                const int alpha = PhasePictureCoverage(x, y, n);
                const int channels[3] = {int(c & 0xFF), int(c >> 8 & 0xFF), int(c >> 16 & 0xFF)};
                for (int v : channels) over += v > alpha;
                if (alpha == 0) ++uncovered, blackOutside += c == 0;
                if (alpha == 255) ++whole;
            }
        }
        EXPECT_EQ(over, 0) << "channels above the coverage";
        EXPECT_EQ(blackOutside, uncovered) << "off the ball every pixel is black";
        EXPECT_GT(uncovered, zoom * zoom * (64 * 64 - 3.15 * 31 * 31));
        EXPECT_GT(whole, zoom * zoom * 3.14 * 29 * 29);
    }
    EXPECT_EQ(PhasePictureCoverage(32, 32), 255);
    EXPECT_EQ(PhasePictureCoverage(0, 0), 0);
    EXPECT_EQ(PhasePictureCoverage(63, 32), 0);
    EXPECT_EQ(PhasePictureCoverage(-1, 32), 0);
    EXPECT_EQ(PhasePictureCoverage(64, 32), 0);
    const int edge = PhasePictureCoverage(10, 10);  // the ball's edge crosses this pixel
    EXPECT_GT(edge, 0);
    EXPECT_LT(edge, 255);
    EXPECT_EQ(PhasePictureCoverage(53, 10), edge) << "symmetric";
    EXPECT_EQ(PhasePictureCoverage(10, 53), edge);
    EXPECT_EQ(PhasePictureCoverage(53, 53), edge);
}

TEST(ArtFiles, SaverPicturesArePaletteBitmapsLoadBitmapReads) {
    for (const SaverPicture& e : kSaverPictures) {
        const Bitmap bmp = Load(e.name);
        SCOPED_TRACE(e.name);
        EXPECT_EQ(bmp.width, e.width);
        EXPECT_EQ(bmp.height, e.height);  // positive: bottom-up
        EXPECT_EQ(bmp.bits, 8);
        EXPECT_EQ(bmp.compression, 0u);
        EXPECT_EQ(bmp.headerSize, 40u);
        EXPECT_GE(bmp.coloursUsed, 2u);
        EXPECT_LE(bmp.coloursUsed, 256u);
        EXPECT_EQ(bmp.offset, 14 + 40 + 4 * bmp.coloursUsed);  // the palette, then the pixels
        ASSERT_EQ(bmp.bytes.size(), bmp.offset + size_t(e.height) * ((size_t(e.width) + 3) / 4 * 4));
        for (int y = 0; y < bmp.height; ++y) {
            for (int x = 0; x < bmp.width; ++x) ASSERT_LT(*bmp.address(x, y), bmp.coloursUsed) << x << "," << y;
        }
    }
}

TEST(ArtFiles, SaverPicturesShowTheLitEarthInTheNightSky) {
    for (const SaverPicture& e : kSaverPictures) {
        const Bitmap bmp = Load(e.name);
        SCOPED_TRACE(e.name);
        ASSERT_EQ(bmp.width, e.width);
        ASSERT_EQ(bmp.height, e.height);
        ExpectSky(bmp, 0, 0);
        ExpectSky(bmp, e.width - 1, 0);
        ExpectSky(bmp, e.width - 1, e.height - 1);
        ExpectSky(bmp, e.globeX, e.globeY - e.radius - 8);  // above the globe's glow
        // Lit in the middle (the Sahara by day), the night side on the right much darker and
        // the Atlantic blue on the left.
        const uint32_t centre = bmp.pixel(e.globeX, e.globeY);
        EXPECT_GT(Sum(centre), 300);
        EXPECT_GT(Red(centre), Blue(centre));
        const uint32_t night = bmp.pixel(e.globeX + e.radius * 8 / 10, e.globeY + e.radius / 4);
        EXPECT_LT(Sum(night) * 3, Sum(centre));
        const uint32_t west = bmp.pixel(e.globeX - e.radius / 2, e.globeY + e.radius / 4);  // Atlantic
        EXPECT_GT(Blue(west), Red(west));
    }
    const Bitmap preview = Load("saver_preview_105.bmp");
    ASSERT_EQ(preview.height, 112);
    EXPECT_TRUE(HasWhite(preview, 30, 92, 121, 106));    // the name under the globe
    EXPECT_FALSE(HasWhite(preview, 0, 106, 151, 111));  // and clear of the bottom edge
    const Bitmap config = Load("saver_config_122.bmp");
    ASSERT_EQ(config.height, 123);
    EXPECT_TRUE(HasWhite(config, 5, 40, 105, 63));  // the name left of the globe
}

TEST(ArtFiles, SaverMoonIsTheClocksMoonFace) {
    const Bitmap saver = Load("saver_moon_116.bmp"), clock = Load("moon_full.bmp");
    ASSERT_EQ(saver.width, 64);
    EXPECT_EQ(saver.bytes, clock.bytes);
    const uint32_t centre = saver.pixel(32, 32);
    EXPECT_GT(Sum(centre), 150);  // the lit grey face
    EXPECT_LT(std::abs(Red(centre) - Blue(centre)), 30);
    EXPECT_EQ(saver.pixel(0, 0), 0u);  // black around the ball
}

}  // namespace
