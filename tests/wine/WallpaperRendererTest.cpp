// The wallpaper renderer inside this process: later pictures reuse the surface, the context
// and the textures of the first, and must come out exactly as a fresh renderer draws them.
// The Moon's picture shows its phase whatever context it is drawn in: a fresh one, or the
// renderer's after a whole picture.
#include "ProgramHarness.h"

#include "app/EphemerisFile.h"
#include "app/UserOptions.h"
#include "app/ClockState.h"
#include "astro/FixedClock.h"
#include "platform/RecursiveLock.h"
#include "render/GLTarget.h"
#include "render/MoonPhaseImage.h"
#include "render/Viewpoint.h"
#include "render/WallpaperEarth.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
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

constexpr int kSize = 64;

// The same frame drawn on a larger surface, or a band of it with the viewport moved, may round
// a colour here and there one way or the other (OpenGL promises no more): two levels at most.
constexpr int kRounding = 2;

// How far apart two pictures are: the largest difference of one colour of one pixel (255 for
// pictures of different sizes).
int MostApart(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    if (a.size() != b.size()) return 255;
    int most = 0;
    for (size_t i = 0; i < a.size(); ++i) most = std::max(most, std::abs(int(a[i]) - int(b[i])));
    return most;
}

// Mean brightness (0-255) of the Moon's pixels in columns [x0, x1), and how many there are.
struct Lit {
    double mean = 0;
    int count = 0;
};
Lit Brightness(const std::vector<uint8_t>& rgba, int x0, int x1) {
    Lit lit;
    double sum = 0;
    for (int y = 0; y < kSize; ++y) {
        for (int x = x0; x < x1; ++x) {
            const uint8_t* p = &rgba[4 * (size_t(y) * kSize + x)];
            if (p[3] == 0) continue;
            sum += (p[0] + p[1] + p[2]) / 3.0;
            ++lit.count;
        }
    }
    lit.mean = lit.count > 0 ? sum / lit.count : 0;
    return lit;
}

// The phases as they must look: full bright, new dark, the quarters lit on opposite halves.
void ExpectPhases(const char* where) {
    SCOPED_TRACE(where);
    const std::vector<uint8_t> full = moonPictureForPhaseAngle(0, kSize);
    const std::vector<uint8_t> fresh = moonPictureForPhaseAngle(180, kSize);
    const std::vector<uint8_t> waxing = moonPictureForPhaseAngle(90, kSize);
    const std::vector<uint8_t> waning = moonPictureForPhaseAngle(-90, kSize);
    ASSERT_EQ(full.size(), size_t(kSize) * kSize * 4);
    const Lit fullDisc = Brightness(full, 0, kSize), newDisc = Brightness(fresh, 0, kSize);
    EXPECT_GT(fullDisc.count, 1500) << "a disc of about 48 pixels across";
    EXPECT_EQ(newDisc.count, fullDisc.count) << "the new Moon keeps its outline";
    EXPECT_GT(fullDisc.mean, 2.5 * newDisc.mean) << "the new Moon is dark";
    const Lit waxingLeft = Brightness(waxing, 0, kSize / 2), waxingRight = Brightness(waxing, kSize / 2, kSize);
    const Lit waningLeft = Brightness(waning, 0, kSize / 2), waningRight = Brightness(waning, kSize / 2, kSize);
    EXPECT_GT(std::max(waxingLeft.mean, waxingRight.mean), 2 * std::min(waxingLeft.mean, waxingRight.mean))
        << "a quarter Moon is lit on one half";
    EXPECT_EQ(waxingLeft.mean > waxingRight.mean, waningRight.mean > waningLeft.mean)
        << "the two quarters are lit on opposite halves";
}

TEST(MoonPicture, ShowsThePhaseInAFreshContext) {
    GLTarget target;
    ASSERT_NE(target.createOffscreen(nullptr, kSize, kSize, 32, 32, 0, 0), nullptr);
    ExpectPhases("fresh context");
}

// A size that cannot be had leaves the target as it was; a later size is had again.
TEST(OffscreenTarget, AFailedResizeKeepsTheBitmapItHas) {
    GLTarget target;
    ASSERT_NE(target.createOffscreen(nullptr, kSize, kSize, 32, 32, 0, 0), nullptr);
    EXPECT_FALSE(target.resize(200000, 200000)) << "160 GB";
    EXPECT_EQ(target.width(), kSize);
    EXPECT_EQ(target.height(), kSize);
    ASSERT_NE(target.pixels(), nullptr);
    ASSERT_TRUE(target.resize(32, 16));
    EXPECT_EQ(target.width(), 32);
    glViewport(0, 0, 32, 16);
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glFinish();
    GdiFlush();
    EXPECT_EQ(target.pixels()[(15 * 32 + 31) * 4 + 2], 255) << "the last pixel drawn red";
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
    // Let go of between renewals (surface, context, textures, maps), then made anew.
    renderer.release();
    EXPECT_EQ(Pixels(renderer.render(rich, lock_)), richPixels);
    renderer.release();
    EXPECT_EQ(Pixels(renderer.render(request_, lock_)), first);

    // A smaller size, smaller than the Moon's picture in one direction, in a corner of the surface.
    WallpaperRequest small = request_;
    small.width = 200;
    small.height = 48;
    const std::vector<uint8_t> smallPixels = Pixels(renderer.render(small, lock_));
    ASSERT_EQ(smallPixels.size(), 200u * 48 * 3);
    EXPECT_LE(MostApart(Pixels(WallpaperRenderer().render(small, lock_)), smallPixels), kRounding);
}

// A picture drawn a band at a time (bands of 37 rows, the last one shorter) equals the whole
// picture (but for rounding), phases, texts and place labels across the bands' edges included.
TEST_F(WallpaperRendering, BandsMakeTheWholePicture) {
    request_.scene.displayFlags |= kShowMoon | kShowGrid | kUrbanLighting | kSimulatedClouds;
    request_.coveredBottom = 12;
    request_.leftText = request_.rightText = "Solvane";
    request_.places = {{"Łódź", 51.75, 19.46667, 768755, "02:28"}, {"Lagos", 6.45407, 3.39467, 9000000, "02:28"},
                       {"Tokyo", 35.6895, 139.69171, 8336599, "10:28"},
                       {"Sydney", -33.86785, 151.20732, 4627345, "12:28"}};
    {
        WallpaperRequest large = request_;
        large.width = 1024;
        large.height = 640;
        WallpaperRenderer renderer;
        const WallpaperPicture picture = renderer.render(large, lock_);
        ASSERT_NE(picture.bottomRow, nullptr);
        Capture shot;
        shot.width = picture.width;
        shot.height = picture.height;
        for (int y = picture.height - 1; y >= 0; --y) {
            const uint8_t* row = picture.bottomRow + y * picture.rowStride;
            shot.bgra.insert(shot.bgra.end(), row, row + 4 * picture.width);
        }
        KeepScreenshot(shot, "wallpaper-places");
    }
    for (const int height : {200, 257}) {
        request_.height = height;
        const std::vector<uint8_t> whole = Pixels(WallpaperRenderer().render(request_, lock_));
        ASSERT_EQ(whole.size(), 320u * height * 3);
        WallpaperRenderer banded;
        std::vector<uint8_t> bands;
        for (int first = 0; first < height; first += 37) {
            const std::vector<uint8_t> band = Pixels(banded.renderBand(request_, lock_, first, std::min(37, height - first)));
            bands.insert(bands.end(), band.begin(), band.end());
        }
        EXPECT_LE(MostApart(bands, whole), kRounding) << height << " rows";
    }
}

// White text pixels in the bottom `rows` rows of a bgr picture (bottom row first), beside the
// globe: the outer 70 columns on either side.
int WhiteInBottomRows(const std::vector<uint8_t>& bgr, int width, int rows) {
    int white = 0;
    for (int y = 0; y < rows; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::size_t i = (std::size_t(y) * width + x) * 3;
            if ((x < 70 || x >= width - 70) && i + 2 < bgr.size()) {
                white += bgr[i] > 230 && bgr[i + 1] > 230 && bgr[i + 2] > 230;
            }
        }
    }
    return white;
}

// A taskbar along the bottom: the corner texts stand above it, not under it.
TEST_F(WallpaperRendering, CornerTextsKeepClearOfTheTaskbar) {
    request_.moonPhases = false;
    request_.scene.displayFlags = 0;  // nothing white but the texts
    request_.leftText = request_.rightText = "WWWW";
    const std::vector<uint8_t> open = Pixels(WallpaperRenderer().render(request_, lock_));
    EXPECT_GT(WhiteInBottomRows(open, 320, 30), 20) << "with no taskbar, at the bottom";
    request_.coveredBottom = 30;
    const std::vector<uint8_t> covered = Pixels(WallpaperRenderer().render(request_, lock_));
    EXPECT_EQ(WhiteInBottomRows(covered, 320, 30), 0) << "nothing under the taskbar";
    EXPECT_GT(WhiteInBottomRows(covered, 320, 60), 20) << "just above it";
}

TEST_F(WallpaperRendering, TheMoonPictureShowsThePhaseAfterAWholePicture) {
    WallpaperRenderer renderer;
    WallpaperRequest withMoon = request_;
    withMoon.scene.displayFlags |= kShowMoon;
    ASSERT_FALSE(Pixels(renderer.render(withMoon, lock_)).empty());
    ExpectPhases("after a wallpaper");  // the renderer's context is still current
}

TEST_F(WallpaperRendering, TogglingTheMoonSpriteLeavesLaterPicturesAsAFreshRendererDrawsThem) {
    WallpaperRequest withMoon = request_, withoutMoon = request_;
    withMoon.moonPhases = withoutMoon.moonPhases = false;
    withMoon.scene.displayFlags |= kShowMoon;
    withoutMoon.scene.displayFlags &= ~kShowMoon;
    WallpaperRenderer renewed;
    const std::vector<uint8_t> first = Pixels(renewed.render(withoutMoon, lock_));
    ASSERT_FALSE(first.empty());
    const std::vector<uint8_t> moon = Pixels(renewed.render(withMoon, lock_));
    EXPECT_TRUE(moon == Pixels(WallpaperRenderer().render(withMoon, lock_)));
    EXPECT_TRUE(Pixels(renewed.render(withoutMoon, lock_)) == first) << "the Moon's face went into another texture";
    EXPECT_TRUE(Pixels(renewed.render(withMoon, lock_)) == moon);
}

}  // namespace
