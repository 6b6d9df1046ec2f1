#include "almanac/OrbitPicture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <utility>

namespace {

constexpr int kWidth = 310, kHeight = 200;

// A map of `width` x `height` texels, each the colour (0xRRGGBB) `at(s, t)` gives for its
// place (0 to 1 across, and up from the bottom).
SurfaceMap MapOf(int width, int height, const std::function<uint32_t(double, double)>& at) {
    SurfaceMap map{std::vector<uint8_t>(size_t(width) * height * 3), width, height};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint32_t rgb = at((x + 0.5) / width, (y + 0.5) / height);
            uint8_t* p = &map.bgr[(size_t(y) * width + x) * 3];
            p[0] = rgb & 0xFF, p[1] = (rgb >> 8) & 0xFF, p[2] = (rgb >> 16) & 0xFF;
        }
    }
    return map;
}

const SurfaceMap kWhite = MapOf(8, 4, [](double, double) { return 0xFFFFFFu; });

class OrbitPicture : public testing::Test {
protected:
    std::vector<uint8_t> pixels = std::vector<uint8_t>(size_t(kWidth) * kHeight * 4);
    PixelCanvas canvas{pixels.data(), kWidth, kHeight};
    OrbitScene frontLit;  // lit from the camera: every visible point shows
    OrbitPicture() { frontLit.lightX = 0, frontLit.lightZ = 1; }

    void Draw(const OrbitScene& scene, float moon, float earth, const SurfaceMap& map = kWhite,
              const SurfaceMap& face = kWhite) {
        std::fill(pixels.begin(), pixels.end(), 0);
        OrbitAngles angles;
        angles.moon = moon, angles.earth = earth;
        OrbitPainter(scene, kWidth, kHeight, map, face).draw(canvas, angles);
    }
    const uint8_t* At(int x, int y) const { return &pixels[(size_t(y) * kWidth + x) * 4]; }
    int Brightness(int x, int y) const { return At(x, y)[0] + At(x, y)[1] + At(x, y)[2]; }
    // The mean x of the pixels within `disc` that `pick` takes, or NAN when none.
    double MeanX(const ViewDisc& disc, const std::function<bool(const uint8_t*)>& pick) const {
        double sum = 0, count = 0;
        for (int y = int(disc.y - disc.radius); y <= int(disc.y + disc.radius); ++y) {
            for (int x = int(disc.x - disc.radius); x <= int(disc.x + disc.radius); ++x) {
                if (pick(At(x, y))) sum += x + 0.5, ++count;
            }
        }
        return count > 0 ? sum / count : NAN;
    }
};

// The balls fill the discs the camera's projection gives, the Moon's centred on its orbit line
// at each side of it; the light comes from the left (each ball's left half bright, its right
// edge dark); the nearer ball hides the farther.
TEST_F(OrbitPicture, BallsFillTheirDiscsTheMoonOnItsLineLitFromTheLeftTheNearerInFront) {
    for (float moon : {0.0f, 90.0f, 180.0f}) {
        Draw(frontLit, moon, 0);
        for (const ViewDisc& disc : {OrbitPointOnView(frontLit, moon, frontLit.orbitRadius, frontLit.moonRadius, kWidth, kHeight),
                                     EarthOnView(frontLit, kWidth, kHeight)}) {
            int left = kWidth, right = -1, top = kHeight, bottom = -1;
            for (int y = int(disc.y - disc.radius - 4); y <= int(disc.y + disc.radius + 4); ++y) {
                for (int x = int(disc.x - disc.radius - 4); x <= int(disc.x + disc.radius + 4); ++x) {
                    if (Brightness(x, y) < 3 * 20) continue;
                    left = std::min(left, x), right = std::max(right, x);
                    top = std::min(top, y), bottom = std::max(bottom, y);
                }
            }
            EXPECT_NEAR((left + right + 1) / 2.0, disc.x, 0.75) << "the Moon at " << moon;
            EXPECT_NEAR((top + bottom + 1) / 2.0, disc.y, 0.75) << "the Moon at " << moon;
            EXPECT_NEAR((right + 1 - left) / 2.0, disc.radius, 1.0) << "the Moon at " << moon;
        }
    }
    Draw(kOrbitScene, 0, 0);
    for (const ViewDisc& disc : {OrbitPointOnView(kOrbitScene, 0, kOrbitScene.orbitRadius, kOrbitScene.moonRadius, kWidth, kHeight),
                                 EarthOnView(kOrbitScene, kWidth, kHeight)}) {
        EXPECT_GT(Brightness(int(disc.x - disc.radius / 2), int(disc.y)), 3 * 150);
        EXPECT_LT(Brightness(int(disc.x + disc.radius - 2), int(disc.y)), 3 * 5);
    }
    // Seen edge on, the Moon passes in front of the red Earth and behind it.
    OrbitScene edgeOn = frontLit;
    edgeOn.tilt = 0;
    for (float angle : {270.0f, 90.0f}) {
        Draw(edgeOn, angle, 0, MapOf(8, 4, [](double, double) { return 0xFF0000u; }));
        const ViewDisc moon = OrbitPointOnView(edgeOn, angle, edgeOn.orbitRadius, edgeOn.moonRadius, kWidth, kHeight);
        const uint8_t* p = At(int(moon.x), int(moon.y));
        EXPECT_EQ(p[0] > 150 && p[1] > 150, angle == 270) << "the Moon at " << angle << ", else the red Earth";
        EXPECT_GT(p[2], 150);
    }
}

// The map's north is up and its east shows to the right of its west, and the Earth turns
// eastward: a meridian near the middle of the disc moves right as the angle grows.
TEST_F(OrbitPicture, TheEarthShowsNorthUpEastOnTheRightAndTurnsEastward) {
    const SurfaceMap halves = MapOf(8, 8, [](double, double t) { return t > 0.5 ? 0xFF0000u : 0x0000FFu; });
    Draw(frontLit, 0, 0, halves);
    const ViewDisc disc = EarthOnView(frontLit, kWidth, kHeight);
    const uint8_t* top = At(int(disc.x), int(disc.y - disc.radius * 0.8));
    const uint8_t* bottom = At(int(disc.x), int(disc.y + disc.radius * 0.8));
    EXPECT_GT(top[2], 2 * top[0]) << "red, the north, at the top";
    EXPECT_GT(bottom[0], 2 * bottom[2]) << "blue, the south, at the bottom";

    const SurfaceMap map = MapOf(360, 4, [](double s, double) {
        if (s > 0.50 && s < 0.52) return 0xFF0000u;  // red, and green a little east of it
        if (s > 0.54 && s < 0.56) return 0x00FF00u;
        return 0x000080u;
    });
    const ViewDisc earth = EarthOnView(frontLit, kWidth, kHeight);
    const auto red = [](const uint8_t* p) { return p[2] > 100 && p[2] > 2 * p[1]; };
    const auto green = [](const uint8_t* p) { return p[1] > 100 && p[1] > 2 * p[2]; };
    float middle = -1;
    double nearest = earth.radius;
    for (float angle = 0; angle < 360; angle += 10) {
        Draw(frontLit, 0, angle, map);
        const double x = MeanX(earth, red);
        if (!std::isnan(x) && std::fabs(x - earth.x) < nearest) nearest = std::fabs(x - earth.x), middle = angle;
    }
    ASSERT_GE(middle, 0) << "the red meridian shows at some angle";
    Draw(frontLit, 0, middle, map);
    const double before = MeanX(earth, red);
    EXPECT_GT(MeanX(earth, green), before) << "east of red on the map, right of it on the ball";
    Draw(frontLit, 0, middle + 10, map);
    EXPECT_GT(MeanX(earth, red), before + 1) << "turned eastward";
}

// The inset shows the phase: the whole face at the full Moon (the start), nothing at the new
// Moon, not even a rim, the right half at the first quarter and the left at the last.
TEST_F(OrbitPicture, TheInsetShowsThePhaseSeenFromTheEarth) {
    const ViewDisc inset = OrbitInsetOnView(kOrbitScene, kWidth, kHeight);
    struct Case {
        float moon;
        double litLeft, litRight;  // the share of each half's pixels that is bright
    };
    for (const Case c : {Case{0, 1, 1}, Case{180, 0, 0}, Case{270, 0, 1}, Case{90, 1, 0}}) {
        Draw(kOrbitScene, c.moon, 0);
        double bright[2] = {}, all[2] = {};
        int brightest = 0;
        for (int y = int(inset.y - inset.radius - 2); y <= int(inset.y + inset.radius + 2); ++y) {
            for (int x = int(inset.x - inset.radius - 2); x <= int(inset.x + inset.radius + 2); ++x) {
                brightest = std::max(brightest, Brightness(x, y));
                const double dx = x + 0.5 - inset.x, dy = y + 0.5 - inset.y;
                if (std::fabs(dx) < 2 || std::hypot(dx, dy) > inset.radius - 1.5) continue;  // off the edges
                const int half = dx < 0 ? 0 : 1;
                all[half] += 1;
                bright[half] += Brightness(x, y) > 3 * 128;
            }
        }
        EXPECT_NEAR(bright[0] / all[0], c.litLeft, 0.02) << "the Moon at " << c.moon;
        EXPECT_NEAR(bright[1] / all[1], c.litRight, 0.02) << "the Moon at " << c.moon;
        if (c.moon == 180) {
            EXPECT_LT(brightest, 3 * 8) << "a dark disc";
        }
    }
}

// The full Moon's face shows upright and unmirrored, and lit alike to both rims: on a view
// where the inset's centre falls on a pixel's centre, the columns either side are mirror images.
TEST(OrbitInset, TheFullMoonsFaceIsUprightUnmirroredAndLitToBothRims) {
    constexpr int width = 775, height = 500, middle = 699;  // the inset's centre at x = 699.5
    std::vector<uint8_t> pixels(size_t(width) * height * 4, 0);
    PixelCanvas canvas{pixels.data(), width, height};
    const auto at = [&](int x, int y) { return &pixels[(size_t(y) * width + x) * 4]; };
    OrbitPainter(kOrbitScene, width, height, kWhite, kWhite).draw(canvas, OrbitAngles{});
    double left = 0, right = 0;
    for (int y = 0; y < height; ++y) {
        for (int d = 1; d < 60; ++d) left += at(middle - d, y)[0], right += at(middle + d, y)[0];
    }
    EXPECT_GT(left, 0);
    EXPECT_NEAR(right / left, 1, 0.0005);

    const SurfaceMap face = MapOf(8, 8, [](double s, double t) { return t > 0.5 ? 0xFF0000u : s > 0.5 ? 0x00FF00u : 0u; });
    OrbitPainter(kOrbitScene, width, height, kWhite, face).draw(canvas, OrbitAngles{});
    const ViewDisc inset = OrbitInsetOnView(kOrbitScene, width, height);
    const int x = int(inset.x), y = int(inset.y), r = int(inset.radius / 2);
    EXPECT_GT(at(x, y - r)[2], 200) << "red at the top";
    EXPECT_GT(at(x + r, y + r)[1], 200) << "green at the bottom right";
    EXPECT_LT(at(x - r, y + r)[0] + at(x - r, y + r)[1] + at(x - r, y + r)[2], 3 * 8) << "black at the bottom left";
}

// The view copies to the window only the boxes the painter names: nothing is drawn outside
// them, at the view's sizes for 100 % and 150 %, all round the orbit.
TEST(OrbitPainterBoxes, NothingIsDrawnOutsideTheBoxes) {
    for (const auto& [width, height] : {std::pair{310, 200}, std::pair{465, 300}}) {
        const OrbitPainter painter(kOrbitScene, width, height, kWhite, kWhite);
        std::vector<uint8_t> pixels(size_t(width) * height * 4, 0x40);
        PixelCanvas canvas{pixels.data(), width, height};
        for (float moon = 0; moon < 360; moon += 7) {
            OrbitAngles angles;
            angles.moon = moon;
            painter.draw(canvas, angles);
            const PixelBox boxes[3] = {painter.earthBox(), painter.insetBox(), painter.moonBox(moon)};
            for (int y = 0; y < height; ++y) {
                for (int x = 0; x < width; ++x) {
                    bool inside = false;
                    for (const PixelBox& b : boxes) inside |= x >= b.left && x < b.right && y >= b.top && y < b.bottom;
                    const uint8_t* p = &pixels[(size_t(y) * width + x) * 4];
                    if (!inside && (p[0] != 0x40 || p[1] != 0x40 || p[2] != 0x40)) {
                        FAIL() << "drawn at " << x << "," << y << " with the Moon at " << moon << ", " << width << " wide";
                    }
                }
            }
            std::fill(pixels.begin(), pixels.end(), 0x40);
        }
    }
}

}  // namespace
