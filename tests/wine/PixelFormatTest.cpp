// The pixel-format searches look at every format the display offers, the last one included;
// an off-screen target shows the rows it is asked for.
#include "render/GLTarget.h"

#include <GL/gl.h>

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

// OpenGL counts rows from the bottom, the window from the top: rows 10 to 14 of a 30-row frame
// are the window's rows 15 to 19, and nothing else of the new frame reaches the window.
TEST(OffscreenTarget, PresentRowsShowsOnlyTheRowsAskedFor) {
    GLTarget target;
    ASSERT_NE(target.createOffscreen(nullptr, 40, 30, 32, 16, 0, 0), nullptr);
    ASSERT_TRUE(target.makeCurrent(nullptr));
    HDC screen = GetDC(nullptr);
    HDC window = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 40, 30);
    HGDIOBJ previous = SelectObject(window, bitmap);
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    target.present(window);
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    target.presentRows(window, 10, 5);
    for (int y = 0; y < 30; ++y) {
        const bool shown = y >= 15 && y < 20;
        EXPECT_EQ(GetPixel(window, 20, y), shown ? RGB(0, 0, 255) : RGB(255, 0, 0)) << "row " << y;
    }
    target.presentRows(window, 0, 0);  // nothing to show: the window keeps what it has
    EXPECT_EQ(GetPixel(window, 20, 0), RGB(255, 0, 0));
    SelectObject(window, previous);
    DeleteObject(bitmap);
    DeleteDC(window);
    ReleaseDC(nullptr, screen);
    target.destroy();
}

}  // namespace
