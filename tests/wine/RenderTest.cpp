// The Earth through the real renderer: solvane-render.exe draws wallpaper pictures, and the
// pixels must say what the Sun's geometry says.
#include "ProgramHarness.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kWidth = 800, kHeight = 600;
constexpr double kCentreX = 399.5, kCentreY = 299.5;
// The globe's radius in pixels: 80 units at 2000 with a 5-degree field of view.
const double kRadius = kHeight / 2.0 * std::tan(std::asin(80.0 / 2000.0)) / std::tan(2.5 * kPi / 180);

struct Picture {
    int width = 0, height = 0;
    std::vector<char> bytes;
    // Blue, green, red at (x, y), y counted from the top.
    const unsigned char* at(int x, int y) const {
        const int row = (width * 3 + 3) / 4 * 4;
        return reinterpret_cast<const unsigned char*>(&bytes[54 + size_t(height - 1 - y) * row + x * 3]);
    }
    int brightness(int x, int y) const { const unsigned char* p = at(x, y); return p[0] + p[1] + p[2]; }
};

class Render : public testing::Test {
protected:
    // Renders a picture; the file is kept under the screenshot folder when `keepAs` is given.
    Picture render(const std::string& arguments, const char* keepAs = nullptr) {
        const std::string out = folder.path("picture.bmp");
        const ConsoleRun run = RunConsoleProgram(folder.path("solvane-render.exe"),
                                                 arguments + " --out \"" + out + "\"");
        EXPECT_TRUE(run.finished);
        EXPECT_EQ(run.exitCode, 0u) << run.errors;
        Picture p;
        p.bytes = ReadBinaryFile(out);
        if (p.bytes.size() < 54) return p;
        std::memcpy(&p.width, &p.bytes[18], 4);
        std::memcpy(&p.height, &p.bytes[22], 4);
        const char* shots = std::getenv("SOLVANE_SCREENSHOT_DIR");
        if (keepAs != nullptr && shots != nullptr) {
            std::string dir = std::string("Z:") + shots;
            for (char& c : dir) if (c == '/') c = '\\';
            CreateDirectoryA(dir.c_str(), nullptr);
            CopyFileA(out.c_str(), (dir + "\\" + keepAs).c_str(), FALSE);
        }
        return p;
    }
    InstallFolder folder{{"solvane-render.exe", "SVShared.dll", "cheby"}};
};

// 2025 March equinox, 09:01 UTC: the terminator is a great circle through the poles.
const char kEquinox[] = "--utc 2025-03-20T09:01:00";
// 2026 December 24, 01:28 UTC: full moon.
const char kFullMoon[] = "--utc 2026-12-24T01:28:00";

TEST_F(Render, FileLayoutAndGlobeSize) {
    const Picture p = render(std::string(kEquinox) + " --viewpoint 0 --flags 0");
    ASSERT_EQ(p.bytes.size(), 1440054u);
    EXPECT_EQ(p.width, kWidth);
    EXPECT_EQ(p.height, kHeight);
    EXPECT_GT(p.brightness(int(kCentreX + kRadius - 6), 300), 30);
    EXPECT_GT(p.brightness(int(kCentreX - kRadius + 6), 300), 30);
    EXPECT_EQ(p.brightness(int(kCentreX + kRadius + 6), 300), 0);
    EXPECT_EQ(p.brightness(5, 5), 0);
    const Picture wide = render(std::string(kEquinox) + " --size 1366x20 --flags 0");
    EXPECT_EQ(wide.bytes.size(), 54u + 4100 * 20);
}

// A tall narrow picture: the globe fits its width, as it fits the height of a wide one.
TEST_F(Render, TheGlobeFitsTheSmallerSide) {
    const Picture tall = render(std::string(kEquinox) + " --size 200x600 --viewpoint 0 --flags 0");
    ASSERT_EQ(tall.width, 200);
    EXPECT_GT(tall.brightness(100, 300), 30) << "the globe in the middle";
    EXPECT_EQ(tall.brightness(1, 300), 0) << "space beside it: the globe is not cut";
    EXPECT_EQ(tall.brightness(198, 300), 0);
    EXPECT_GT(tall.brightness(int(100 - kRadius / 3 + 6), 300), 30) << "as wide as the width allows";
}

TEST_F(Render, FromSunShowsALitDiscWithTheSunAtItsCentre) {
    const Picture sun = render(std::string(kEquinox) + " --viewpoint 0 --flags 409", "from-sun.bmp");
    const Picture shadowed = render(std::string(kEquinox) + " --viewpoint 0 --flags 401");
    const Picture plain = render(std::string(kEquinox) + " --viewpoint 0 --flags 0");
    const unsigned char* centre = sun.at(400, 300);
    EXPECT_GT(centre[0] + centre[1] + centre[2], 600) << "the Sun sprite";
    // Lit all over: the realistic terminator leaves the visible disc in daylight.
    for (double f : {-0.8, -0.5, 0.5, 0.8}) {
        for (auto [px, py] : {std::pair<int, int>{int(kCentreX + f * kRadius), 300},
                              std::pair<int, int>{400, int(kCentreY + f * kRadius)}}) {
            EXPECT_GE(shadowed.brightness(px, py), plain.brightness(px, py) * 9 / 10) << f;
            EXPECT_GT(plain.brightness(px, py), 0);
        }
    }
}

TEST_F(Render, OverHomePutsHomeAtTheCentre) {
    const Picture home = render(std::string(kEquinox) + " --viewpoint 2 --flags 4 --lat 48.86 --lon 2.35",
                                "over-home.bmp");
    const unsigned char* p = home.at(400, 300);
    EXPECT_GT(p[2], 200) << "red home point";
    EXPECT_LT(p[1], 90);
    // A dot a user can see: at 800x600, some 8 pixels across.
    int red = 0;
    for (int y = 280; y < 320; ++y) {
        for (int x = 380; x < 420; ++x) red += home.at(x, y)[2] > 200 && home.at(x, y)[1] < 90;
    }
    EXPECT_GE(red, 25) << "red pixels around home";
    const Picture elsewhere = render(std::string(kEquinox) + " --viewpoint 0 --flags 4 --lat 48.86 --lon 2.35");
    EXPECT_LT(elsewhere.at(400, 300)[2], 200);
}

TEST_F(Render, TerminatorAndCityLightsFollowTheSun) {
    // Over Sun Rise at the equinox: the Sun is to the right, the terminator the central
    // vertical line; points x pixels left of it have the Sun asin(x / R) below the horizon.
    const Picture plain = render(std::string(kEquinox) + " --viewpoint 3 --flags 0");
    const Picture soft = render(std::string(kEquinox) + " --viewpoint 3 --flags 401", "over-sunrise.bmp");
    const Picture sharp = render(std::string(kEquinox) + " --viewpoint 3 --flags 1");
    const Picture lights = render(std::string(kEquinox) + " --viewpoint 3 --flags 601", "city-lights.bmp");
    const int y = 300;
    auto x = [](double degrees) { return int(std::lround(kCentreX + kRadius * std::sin(degrees * kPi / 180))); };
    double dayRatio = double(soft.brightness(x(12), y)) / std::max(1, plain.brightness(x(12), y));
    EXPECT_GT(dayRatio, 0.9) << "12 degrees into the day";
    double nightRatio = double(soft.brightness(x(-20), y)) / std::max(1, plain.brightness(x(-20), y));
    EXPECT_LT(nightRatio, 0.12) << "20 degrees into the night";
    // The sharp terminator: day to 0.7 degrees past the line, the night a tenth of the day.
    EXPECT_GT(double(sharp.brightness(x(2), y)) / std::max(1, plain.brightness(x(2), y)), 0.95);
    EXPECT_LT(double(sharp.brightness(x(-3), y)) / std::max(1, plain.brightness(x(-3), y)), 0.2);
    // City lights add light only where the Sun is more than 6.1 degrees down; towards the rim,
    // beyond 0.9 of the radius, 3 degrees (there the maps' smaller levels blend a few degrees of
    // surface), and the outermost pixels, each some degrees of surface, are not judged.
    int litBeyond = 0;
    for (int py = 20; py < kHeight - 20; ++py) {
        for (int px = 20; px < kWidth - 20; ++px) {
            const double fromCentre = std::hypot(px - kCentreX, py - kCentreY);
            if (fromCentre > 0.97 * kRadius) continue;
            const bool rim = fromCentre > 0.9 * kRadius;
            const int added = lights.brightness(px, py) - soft.brightness(px, py);
            if (px > x(rim ? -3 : -5.5)) {
                ASSERT_LE(added, 3) << "lights at " << px << "," << py;
            } else if (added > 30) {
                ++litBeyond;
            }
        }
    }
    EXPECT_GT(litBeyond, 50) << "city lights on the night side";
    // Looking down on the north pole in its polar night: dark all over, the lit south pole's ice
    // nowhere showing through.
    const Picture pole = render("--utc 2026-12-21T00:00:00 --viewpoint 2 --lat 89.5 --lon 0 --flags 401");
    int brightest = 0;
    for (int py = 270; py < 330; ++py) {
        for (int px = 370; px < 430; ++px) brightest = std::max(brightest, pole.brightness(px, py));
    }
    EXPECT_LT(brightest, 150) << "the polar night";  // the ice at night is about 55
}

TEST_F(Render, SpritesSitAtTheirPointsAndHideBehindTheGlobe) {
    const Picture fromMoon = render(std::string(kFullMoon) + " --viewpoint 1 --flags 10", "from-moon.bmp");
    const Picture bare = render(std::string(kFullMoon) + " --viewpoint 1 --flags 0");
    int changed = 0;
    for (int dy = -6; dy <= 6; ++dy) {
        for (int dx = -6; dx <= 6; ++dx) {
            changed += fromMoon.brightness(400 + dx, 300 + dy) != bare.brightness(400 + dx, 300 + dy);
        }
    }
    EXPECT_GT(changed, 60) << "the Moon sprite at the sub-lunar point";
    // At full moon the Sun is behind the Earth seen from the Moon, and the Moon behind it seen
    // from the Sun: neither sprite shows.
    const Picture noSun = render(std::string(kFullMoon) + " --viewpoint 1 --flags 8");
    EXPECT_EQ(noSun.bytes, bare.bytes);
    const Picture sunSide = render(std::string(kFullMoon) + " --viewpoint 0 --flags 10");
    const Picture sunSideBare = render(std::string(kFullMoon) + " --viewpoint 0 --flags 0");
    EXPECT_EQ(sunSide.bytes, sunSideBare.bytes);
}

TEST_F(Render, EveryViewpointAndBadArguments) {
    for (int v = 0; v < 8; ++v) {
        const std::string name = "viewpoint-" + std::to_string(v) + ".bmp";
        const Picture p = render(std::string(kEquinox) + " --viewpoint " + std::to_string(v) + " --flags FDD",
                                 name.c_str());
        EXPECT_GT(p.brightness(400, 300), 0) << v;
    }
    const ConsoleRun bad = RunConsoleProgram(folder.path("solvane-render.exe"), "--viewpoint 8 --out x.bmp");
    EXPECT_EQ(bad.exitCode, 2u);
    EXPECT_NE(bad.errors.find("usage: solvane-render"), std::string::npos);
    const ConsoleRun missing = RunConsoleProgram(folder.path("solvane-render.exe"), "--viewpoint 1");
    EXPECT_EQ(missing.exitCode, 2u);
}

}  // namespace
