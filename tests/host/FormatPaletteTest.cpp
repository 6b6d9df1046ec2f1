#include "render/FormatPalette.h"

#include <gtest/gtest.h>

namespace {

void ExpectColour(const std::vector<PaletteColour>& p, unsigned i, int red, int green, int blue) {
    ASSERT_LT(i, p.size());
    EXPECT_EQ(p[i].red, red) << "entry " << i;
    EXPECT_EQ(p[i].green, green) << "entry " << i;
    EXPECT_EQ(p[i].blue, blue) << "entry " << i;
    EXPECT_EQ(p[i].flags, 0) << "entry " << i;
}

TEST(FormatPalette, ThreeThreeTwoAtEightBits) {
    // Red in bits 0-2, green in 3-5, blue in 6-7, as the generic 8-bit formats lay them out.
    const auto p = FormatPaletteColours({8, 3, 0, 3, 3, 2, 6});
    ASSERT_EQ(p.size(), 256u);
    ExpectColour(p, 0, 0, 0, 0);
    ExpectColour(p, 7, 255, 0, 0);
    ExpectColour(p, 0x38, 0, 255, 0);
    ExpectColour(p, 0xC0, 0, 0, 255);
    ExpectColour(p, 0xFF, 255, 255, 255);
    ExpectColour(p, 0x49, 36, 36, 85);    // 1 of 7 (36.4) and 1 of 3 (85): truncated
    ExpectColour(p, 0x96, 218, 72, 170);  // red 6, green 2, blue 2
}

TEST(FormatPalette, FourFourFourAtTwelveBitsAndOtherShifts) {
    const auto p = FormatPaletteColours({12, 4, 8, 4, 4, 4, 0});
    ASSERT_EQ(p.size(), 4096u);
    ExpectColour(p, 0x123, 17, 34, 51);
    ExpectColour(p, 0xF0F, 255, 0, 255);
    ExpectColour(p, 0xFFF, 255, 255, 255);
    // Blue-green-red the other way round at 8 bits: the shifts decide, not the order.
    const auto q = FormatPaletteColours({8, 2, 6, 3, 3, 3, 0});
    ExpectColour(q, 0xC0, 255, 0, 0);
    ExpectColour(q, 0x07, 0, 0, 255);
}

TEST(FormatPalette, NoBitsGivesZeroAndImpossibleSizesNoPalette) {
    const auto grey = FormatPaletteColours({4, 4, 0, 0, 0, 0, 0});
    ASSERT_EQ(grey.size(), 16u);
    ExpectColour(grey, 15, 255, 0, 0);
    EXPECT_TRUE(FormatPaletteColours({0, 3, 0, 3, 3, 2, 6}).empty());
    EXPECT_TRUE(FormatPaletteColours({24, 8, 16, 8, 8, 8, 0}).empty()) << "more entries than a palette holds";
    EXPECT_TRUE(FormatPaletteColours({16, 5, 11, 6, 5, 5, 0}).empty()) << "65536 entries: one too many";
    EXPECT_EQ(FormatPaletteColours({15, 5, 10, 5, 5, 5, 0}).size(), 32768u);
}

}  // namespace
