// The wallpaper renderer inside this process: later pictures reuse the surface, the context
// and the textures of the first, and must come out exactly as a fresh renderer draws them.
#include "ProgramHarness.h"

#include "app/EphemerisFile.h"
#include "app/UserOptions.h"
#include "app/ClockState.h"
#include "astro/CivilClock.h"
#include "platform/RecursiveLock.h"
#include "render/Viewpoint.h"
#include "render/WallpaperEarth.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The picture's blue, green and red bytes, bottom row first.
std::vector<uint8_t> Pixels(const WallpaperPicture& p) {
    std::vector<uint8_t> bgr;
    if (p.bottomRow == nullptr) return bgr;
    for (int y = 0; y < p.height; ++y) {
        const uint8_t* row = p.bottomRow + y * p.rowStride;
        for (int x = 0; x < p.width; ++x) bgr.insert(bgr.end(), row + 4 * x, row + 4 * x + 3);
    }
    return bgr;
}

class WallpaperRendering : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(OpenEphemerisFile(DistFolder() + "\\cheby"));
        UserOptions options;
        SetDefaultOptions(options);
        FixedClock clock(CivilTime{2026, 12, 24, 4, 1, 28, 0}, 0);
        AstroState astro = {};
        UpdateAstroState(astro, options, clock, true);
        DragOrientation drag;
        request_.width = 320;
        request_.height = 200;
        request_.scene = {astro.julianDate, astro.greenwichSiderealTime, kViewFromSun, 0x559,
                          2.35f, 48.86f, {}, 0};
        drag.matrix(request_.scene.drag);
        request_.moonPhases = true;
        for (int k = 0; k < 4; ++k) request_.corners[k] = {k, "Full Moon", "Dec 24"};
        request_.leftText = "left";
        request_.rightText = "right";
    }

    WallpaperRequest request_;
    RecursiveLock lock_;
};

TEST_F(WallpaperRendering, RenewalsDrawWhatAFreshRendererDraws) {
    WallpaperRenderer renderer;
    const std::vector<uint8_t> first = Pixels(renderer.render(request_, lock_));
    ASSERT_EQ(first.size(), 320u * 200 * 3);
    EXPECT_EQ(Pixels(renderer.render(request_, lock_)), first);

    // Other maps on the same surface, then the first ones again.
    WallpaperRequest rich = request_;
    rich.scene.displayFlags |= kSimulatedClouds | kUrbanLighting | kShowGrid;
    const std::vector<uint8_t> richPixels = Pixels(renderer.render(rich, lock_));
    EXPECT_NE(richPixels, first);
    EXPECT_EQ(Pixels(WallpaperRenderer().render(rich, lock_)), richPixels);
    EXPECT_EQ(Pixels(renderer.render(request_, lock_)), first);

    // A new size, smaller than the Moon's picture in one direction, makes a new surface.
    WallpaperRequest small = request_;
    small.width = 200;
    small.height = 48;
    const std::vector<uint8_t> smallPixels = Pixels(renderer.render(small, lock_));
    ASSERT_EQ(smallPixels.size(), 200u * 48 * 3);
    EXPECT_EQ(Pixels(WallpaperRenderer().render(small, lock_)), smallPixels);
}

}  // namespace
