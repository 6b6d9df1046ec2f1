// The pixel-format searches look at every format the display offers, the last one included.
#include "render/GLTarget.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(PixelFormats, EveryFormatIsExaminedFromOneToTheCount) {
    HDC screen = GetDC(nullptr);
    const int count = DescribePixelFormat(screen, 1, sizeof(PIXELFORMATDESCRIPTOR), nullptr);
    ASSERT_GT(count, 0);
    std::vector<int> seen;
    int format = 0;
    EXPECT_EQ(FindPixelFormat(screen, [&](const PIXELFORMATDESCRIPTOR&) {
        seen.push_back(++format);
        return format == count;
    }), count) << "the last format can be found";
    EXPECT_EQ(int(seen.size()), count);
    EXPECT_EQ(FindPixelFormat(screen, [](const PIXELFORMATDESCRIPTOR&) { return false; }), 0);
    ReleaseDC(nullptr, screen);
}

}  // namespace
