// Geometry and arithmetic of the renderer that need no OpenGL.
#include "app/UserOptions.h"
#include "astro/AstroState.h"
#include "render/BitmapFile.h"
#include "render/GlobeMesh.h"
#include "render/GlobeReuse.h"
#include "render/GridLines.h"
#include "render/LitEarthMap.h"
#include "render/MatrixMath.h"
#include "render/TextureArithmetic.h"
#include "render/TimeDisplayLayout.h"
#include "render/TwilightBands.h"
#include "render/Viewpoint.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <string>
#include <random>
#include <vector>

namespace {

// m applied to the point p (w = 1).
void transformPoint(const float m[16], const float p[3], float out[3]) {
    for (int r = 0; r < 3; ++r) out[r] = m[r] * p[0] + m[4 + r] * p[1] + m[8 + r] * p[2] + m[12 + r];
}

struct Vertex {
    float s, t, p[3], n[3];
};

class RecordingSink : public MeshSink {
public:
    std::vector<std::vector<Vertex>> strips;
    void beginStrip() override { strips.emplace_back(); }
    void vertex(float s, float t, const float p[3], const float n[3]) override {
        strips.back().push_back({s, t, {p[0], p[1], p[2]}, {n[0], n[1], n[2]}});
    }
    void endStrip() override {}
};

TEST(GlobeMesh, StripsRunFromPoleToPole) {
    const GlobeMesh globe(65, 91, 80.0f);
    RecordingSink sink;
    globe.drawGlobe(sink);
    ASSERT_EQ(sink.strips.size(), 66u);
    for (const auto& strip : sink.strips) {
        ASSERT_EQ(strip.size(), 184u);
        const Vertex &first = strip.front(), &closing = strip[strip.size() - 2];
        EXPECT_EQ(first.s, 0.0f);
        EXPECT_EQ(closing.s, 1.0f);
        for (int k = 0; k < 3; ++k) EXPECT_NEAR(first.p[k], closing.p[k], 1e-4);
        for (const Vertex& v : strip) {
            const float r = std::sqrt(v.p[0] * v.p[0] + v.p[1] * v.p[1] + v.p[2] * v.p[2]);
            EXPECT_NEAR(r, 80.0f, 1e-3);
            EXPECT_NEAR(v.n[0] * 80, v.p[0], 1e-3);
        }
    }
    EXPECT_EQ(sink.strips.front().front().p[1], 80.0f);  // north pole, t = 1
    EXPECT_EQ(sink.strips.front().front().t, 1.0f);
    EXPECT_EQ(sink.strips.back().back().p[1], -80.0f);   // south pole, t = 0
    EXPECT_EQ(sink.strips.back().back().t, 0.0f);
    // Outside faces counter-clockwise seen from outside: (v1 - v0) x (v2 - v0) points out.
    const auto& band = sink.strips[10];
    const float* a = band[0].p; const float* b = band[1].p; const float* c = band[2].p;
    const float u[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]}, w[3] = {c[0] - a[0], c[1] - a[1], c[2] - a[2]};
    const float n[3] = {u[1] * w[2] - u[2] * w[1], u[2] * w[0] - u[0] * w[2], u[0] * w[1] - u[1] * w[0]};
    EXPECT_GT(n[0] * a[0] + n[1] * a[1] + n[2] * a[2], 0);
}

// The outline stays within a quarter pixel of the circle, with no more slices than that needs
// (one fewer would not do), between the bounds; the bands cover the half turn as finely.
TEST(GlobeMesh, SizedToThePicture) {
    for (double r : {60.0, 173.0, 519.0, 900.0}) {
        const GlobeMesh mesh = GlobeMeshForPixels(r, 80.0f);
        const double pi = 3.14159265358979323846;
        const auto gap = [&](int slices) { return r * (1 - std::cos(pi / slices)); };
        EXPECT_LE(gap(mesh.slices()), 0.25) << r;
        EXPECT_GT(gap(mesh.slices() - 1), 0.25) << r;
        EXPECT_GE(mesh.stacks() * 2, mesh.slices()) << r;
        EXPECT_EQ(mesh.radius(), 80.0f);
    }
    EXPECT_EQ(GlobeMeshForPixels(0, 1).slices(), 24);
    EXPECT_EQ(GlobeMeshForPixels(10, 1).slices(), 24);
    EXPECT_EQ(GlobeMeshForPixels(1e6, 1).slices(), 180);
}

TEST(GlobeMesh, SurfacePointFrame) {
    const GlobeMesh globe(0, 1, 80.0f);
    float p[3];
    globe.surfacePoint(0, 0, p);
    EXPECT_NEAR(p[0], 80, 1e-4);
    globe.surfacePoint(90, 0, p);
    EXPECT_NEAR(p[2], -80, 1e-4);
    globe.surfacePoint(0, 90, p);
    EXPECT_NEAR(p[1], 80, 1e-4);
}

TEST(LitEarthMap, GreyLevelsOfTheTerminator) {
    const float n[3] = {0, 0, 1}, toward[3] = {0, 0, 1}, away[3] = {0, 0, -1};
    EXPECT_EQ(GreyLevel(n, toward, 4.0f, 0.07f), 1.0f);
    EXPECT_EQ(GreyLevel(n, away, 4.0f, 0.07f), 0.07f);
    const float side[3] = {1, 0, 0};
    EXPECT_NEAR(GreyLevel(n, side, 4.0f, 0.07f), 0.6f, 1e-6);  // (0 + 0.15) x 4
    EXPECT_NEAR(GreyLevel(n, side, 1.0f, 0.0f), 0.15f, 1e-6);
    const float nan[3] = {NAN, 0, 0};
    EXPECT_EQ(GreyLevel(nan, side, 4.0f, 0.07f), 0.07f);
}

// The same Sun never counts as moved, whatever its length (a relit map per wallpaper band would
// cost as much as the band); a move just over the tolerance does, just under it does not.
TEST(LitEarthMap, RelitOnlyWhenTheSunHasMoved) {
    std::mt19937 random(7);
    std::uniform_real_distribution<float> any(-1.5f, 1.5f);
    for (int i = 0; i < 1000; ++i) {
        const float sun[3] = {any(random), any(random), any(random)}, same[3] = {sun[0], sun[1], sun[2]};
        ASSERT_FALSE(SunMovedBeyond(sun, same, 0)) << i;
    }
    const float before[3] = {0.98f, 0, 0};
    const double step = 1e-4;
    const float now[3] = {float(std::cos(step)), 0, float(std::sin(step))};  // another length too
    EXPECT_TRUE(SunMovedBeyond(before, now, 0.9 * step));
    EXPECT_FALSE(SunMovedBeyond(before, now, 1.1 * step));
}

// The texel under the Sun is the day map itself, the one opposite it the dimmed day with the
// lights screened over it, one just past the terminator (before the lights begin) dimmed only;
// the texels are found through the globe's own surface points, so a map turned or mirrored
// against the mesh fails.
TEST(LitEarthMap, LightsTheTexelsTheMeshPutsThere) {
    constexpr int w = 64, h = 32;
    std::vector<uint8_t> day(w * h * 3, 200), lights(w * h * 3, 100);
    const GlobeMesh unit(0, 1, 1.0f);
    const auto texel = [&](int c, int r, float out[3]) {  // its centre's surface point
        unit.surfacePoint((c + 0.5) * 360.0 / w, (r + 0.5) * 180.0 / h - 90, out);
    };
    float sun[3];
    texel(10, 20, sun);
    const auto at = [&](const std::vector<uint8_t>& m, int c, int r) { return m[(size_t(r) * w + c) * 3]; };
    const std::vector<uint8_t> lit = LitEarthMap(day.data(), lights.data(), w, h, sun);
    EXPECT_EQ(at(lit, 10, 20), 200);
    // Opposite: longitude + 180 degrees, latitude mirrored. Day 200 x 0.07 = 14, lights 100 x 1
    // screened: 14 + 100 x 241 / 255 = 108.
    EXPECT_EQ(at(lit, 42, 11), 108);
    const std::vector<uint8_t> dark = LitEarthMap(day.data(), nullptr, w, h, sun);
    EXPECT_EQ(at(dark, 42, 11), 14);
    // Every texel lies between the night's floor and the lit day, the lights adding only where
    // the Sun is well below the horizon.
    float n[3];
    for (int r = 0; r < h; ++r) {
        for (int c = 0; c < w; ++c) {
            texel(c, r, n);
            const float d = n[0] * sun[0] + n[1] * sun[1] + n[2] * sun[2];
            EXPECT_GE(at(dark, c, r), 14);
            EXPECT_NEAR(at(dark, c, r), 200 * GreyLevel(n, sun, 4.0f, 0.07f), 1.5);
            if (d > -0.1f) {
                EXPECT_EQ(at(lit, c, r), at(dark, c, r)) << c << "," << r;
            } else if (d < -0.11f) {
                EXPECT_GT(at(lit, c, r), at(dark, c, r)) << c << "," << r;
            }
        }
    }
}

// The bands' level in each band and at each edge, and along the whole night: no jump anywhere
// (smooth edges), never brighter deeper into the night, nothing on the day side or past 18.4.
TEST(TwilightBands, LevelsOfTheSunsDepression) {
    const struct {
        double depression, level;
    } rows[] = {
        {-30, 0}, {-0.4, 0}, {0, 0.25}, {0.4, 0.5}, {3, 0.5}, {5.6, 0.5}, {6, 0.41}, {9, 0.32},
        {12, 0.255}, {15, 0.19}, {17.6, 0.19}, {18, 0.095}, {18.4, 0}, {40, 0}, {NAN, 0},
    };
    for (const auto& row : rows) EXPECT_NEAR(TwilightBandLevel(row.depression), row.level, 1e-6) << row.depression;
    float before = TwilightBandLevel(-2);
    for (int step = 1; step <= 2700; ++step) {
        const double d = -2 + step * 0.01;
        const float level = TwilightBandLevel(d);
        ASSERT_LE(std::fabs(level - before), 0.012f) << d;
        if (d > 0.41) {
            ASSERT_LE(level, before) << d;
        }
        before = level;
    }
}

// A map of one-degree texels with the Sun over the equator: along the equator the Sun's
// depression is the distance from the sub-solar texel less 90 degrees. With the soft terminator
// the bands brighten only the twilight; for the abrupt terminator's night the map is the day x
// the band's level, or the night's blue tint beyond, without the lights.
TEST(LitEarthMap, TwilightBandsOnTheNightSide) {
    constexpr int w = 360, h = 180, row = 90, sunColumn = 90;
    std::vector<uint8_t> day(w * h * 3, 200), lights(w * h * 3, 100);
    float sun[3];
    GlobeMesh(0, 1, 1.0f).surfacePoint(sunColumn + 0.5, 0.5, sun);
    const std::vector<uint8_t> plain = LitEarthMap(day.data(), lights.data(), w, h, sun);
    const std::vector<uint8_t> soft = LitEarthMap(day.data(), lights.data(), w, h, sun, NightShading::kSoftWithBands);
    const std::vector<uint8_t> sharp = LitEarthMap(day.data(), lights.data(), w, h, sun, NightShading::kSharpBands);
    const struct {
        int depression;
        bool brightened;      // soft: brighter than without the bands
        int sharpRed, sharpBlue;
    } rows[] = {{-10, false, -1, -1}, {3, true, 100, 100}, {9, true, 64, 64}, {15, true, 38, 38}, {25, false, 18, 25}};
    for (const auto& r : rows) {
        const std::size_t at = (std::size_t(row) * w + sunColumn + 90 + r.depression) * 3;
        EXPECT_EQ(soft[at] > plain[at], r.brightened) << r.depression;
        if (!r.brightened) {
            EXPECT_EQ(soft[at], plain[at]) << r.depression;
        }
        if (r.sharpRed < 0) continue;
        EXPECT_NEAR(sharp[at], r.sharpRed, 1) << r.depression;
        EXPECT_NEAR(sharp[at + 2], r.sharpBlue, 1) << r.depression;
    }
}

TEST(GridLines, CountsAndLatitudes) {
    const GridLines lines = MakeGridLines();
    ASSERT_EQ(lines.grid.size(), 35u);
    for (int i = 0; i < 10; ++i) {
        ASSERT_EQ(lines.grid[i].size(), 73u);
        EXPECT_GT(std::fabs(lines.grid[i][0][1]), 1.0f) << "no parallel at the equator";
    }
    for (int i = 10; i < 35; ++i) EXPECT_EQ(lines.grid[i].size(), 31u);
    ASSERT_EQ(lines.equator.size(), 1u);
    EXPECT_NEAR(lines.equator[0][5][1], 0, 1e-5);
    ASSERT_EQ(lines.tropics.size(), 2u);
    EXPECT_NEAR(std::asin(lines.tropics[0][0][1] / 80) * 57.29578, 23.5, 1e-4);
    EXPECT_NEAR(std::asin(lines.tropics[1][0][1] / 80) * 57.29578, -23.5, 1e-4);
}

void ExpectMatrixNear(const float* a, const float* b, float tolerance) {
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(a[i], b[i], tolerance) << "element " << i;
}

TEST(MatrixMath, RotationMatchesRodrigues) {
    float m[16];
    rotationMatrix(90, 0, 0, 2, m);  // +x turns to +y about z
    const float x[3] = {1, 0, 0};
    float out[3];
    rotateVector(m, x, out);
    EXPECT_NEAR(out[0], 0, 1e-7);
    EXPECT_NEAR(out[1], 1, 1e-7);
    float identity[16];
    loadIdentity(identity);
    rotationMatrix(37, 0, 0, 0, m);
    ExpectMatrixNear(m, identity, 0);
    rotationMatrix(120, 1, 1, 1, m);  // cycles the axes
    rotateVector(m, x, out);
    EXPECT_NEAR(out[1], 1, 1e-6);
}

TEST(MatrixMath, InverseOfRandomAndSingularMatrices) {
    std::mt19937 random(7);
    std::uniform_real_distribution<float> value(-10, 10);
    float identity[16];
    loadIdentity(identity);
    for (int round = 0; round < 200; ++round) {
        float m[16], inverse[16], product[16];
        for (float& x : m) x = value(random);
        ASSERT_TRUE(invertMatrix(m, inverse));
        multiplyMatrix(m, inverse, product);
        ExpectMatrixNear(product, identity, 2e-3f);
    }
    float singular[16];
    for (float& x : singular) x = value(random);
    for (int r = 0; r < 4; ++r) singular[8 + r] = 0;  // a zero column
    float inverse[16];
    EXPECT_FALSE(invertMatrix(singular, inverse));
}

TEST(MatrixMath, LookAtFramePutsZOnTheDirection) {
    float d[3] = {3, 4, 12}, frame[16];
    lookAtFrame(d, frame);
    EXPECT_NEAR(d[0] * d[0] + d[1] * d[1] + d[2] * d[2], 1, 1e-6);
    const float z[3] = {0, 0, 80};
    float p[3];
    transformPoint(frame, z, p);
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(p[k], 80 * d[k], 1e-4);
    float inverse[16], product[16], transposed[16];
    ASSERT_TRUE(invertMatrix(frame, inverse));
    for (int c = 0; c < 4; ++c) for (int r = 0; r < 4; ++r) transposed[c * 4 + r] = frame[r * 4 + c];
    ExpectMatrixNear(inverse, transposed, 1e-5f);  // orthonormal
    multiplyMatrix(frame, inverse, product);
    float identity[16];
    loadIdentity(identity);
    ExpectMatrixNear(product, identity, 1e-5f);
}

// The Sun's direction in the Earth frame, as the frame computes it (rotation by 180 - theta).
void SunInEarthFrame(const float S[3], float theta, float out[3]) {
    float toEarth[16];
    rotationMatrix(180 - theta, 0, 1, 0, toEarth);
    rotateVector(toEarth, S, out);
}

TEST(Viewpoint, FromSunFacesTheSubSolarPoint) {
    float S[3] = {0.3f, -0.4f, 0.866f}, sunFrame[16], sunInverse[16], view[16];
    lookAtFrame(S, sunFrame);
    invertMatrix(sunFrame, sunInverse);
    for (float theta : {0.0f, 97.0f, 243.5f}) {
        ViewInputs in = {kViewFromSun, theta, sunInverse, sunInverse, 0, 0, nullptr, 0};
        ViewpointMatrix(in, view);
        float se[3], p[3], q[3];
        SunInEarthFrame(S, theta, se);
        const float point[3] = {80 * se[0], 80 * se[1], 80 * se[2]};
        transformPoint(view, point, p);
        EXPECT_NEAR(p[0], 0, 1e-3);
        EXPECT_NEAR(p[1], 0, 1e-3);
        EXPECT_NEAR(p[2], 80, 1e-3);
        in.viewpoint = 9;  // unknown: as From Sun
        ViewpointMatrix(in, view);
        transformPoint(view, point, q);
        EXPECT_NEAR(q[2], 80, 1e-3);
        // Over Sun Rise: the point 90 degrees of longitude west of the sub-solar point faces
        // the viewer, and the sub-solar point lies to its right (east).
        in.viewpoint = kViewOverSunrise;
        ViewpointMatrix(in, view);
        float west[16], sunrise[3];
        rotationMatrix(-90, 0, 1, 0, west);
        rotateVector(west, point, sunrise);
        transformPoint(view, sunrise, q);
        EXPECT_NEAR(q[0], 0, 1e-3);
        EXPECT_NEAR(q[2], 80, 1e-3);
        transformPoint(view, point, q);
        EXPECT_GT(q[0], 0);
        in.viewpoint = kViewOverSunset;
        ViewpointMatrix(in, view);
        transformPoint(view, point, q);
        EXPECT_LT(q[0], 0);
    }
}

// Over home, and the mouse-drag orientation turned over a place, centre that place.
TEST(Viewpoint, OverHomeAndLookOverCentreThePlace) {
    const GlobeMesh globe(65, 91, 80.0f);
    for (auto [lat, lon] : {std::pair<float, float>{28.55f, -81.38f}, {0, 90}, {-33.9f, 151.2f}, {64.8f, -147.7f}}) {
        ViewInputs in = {kViewOverHome, 0, nullptr, nullptr, lat, lon, nullptr, 0};
        float view[16], home[3], p[3];
        ViewpointMatrix(in, view);
        globe.surfacePoint(lon + 180, lat, home);
        transformPoint(view, home, p);
        EXPECT_NEAR(p[0], 0, 1e-3);
        EXPECT_NEAR(p[1], 0, 1e-3);
        EXPECT_NEAR(p[2], 80, 1e-3);
        DragOrientation drag;
        drag.turnHalf();
        drag.drag(37, -12);
        drag.lookOver(lat, lon);
        float dragged[16];
        drag.matrix(dragged);
        ExpectMatrixNear(dragged, view, 1e-5f);
    }
}

TEST(Viewpoint, DragStartsTurnedAndFollowsThePointer) {
    DragOrientation drag;
    drag.turnHalf();
    float m[16], p[3];
    drag.matrix(m);
    const float lon90[3] = {0, 0, -80};  // mesh longitude 90 = geographic -90
    transformPoint(m, lon90, p);
    EXPECT_NEAR(p[2], 80, 1e-4);
    ViewInputs in = {kViewMouseDrag, 0, nullptr, nullptr, 0, 0, m, 0};
    float view[16];
    ViewpointMatrix(in, view);
    ExpectMatrixNear(view, m, 0);
    drag.drag(180, 0);  // 90 degrees about the vertical axis
    drag.matrix(m);
    transformPoint(m, lon90, p);
    EXPECT_NEAR(p[0], 80, 1e-3);
    EXPECT_NEAR(p[2], 0, 1e-3);
}

TEST(Viewpoint, TickAndSpinArithmetic) {
    EXPECT_EQ(TickAngle(359.5f), 1.0f);
    EXPECT_EQ(TickAngle(180.0f), 181.0f);
    EXPECT_NEAR(SpinAngle(100.0f, 0.1, 10), 101.4f, 1e-4);
    EXPECT_NEAR(SpinAngle(359.9f, 1.0, 3), 0.1f, 1e-6);
    EXPECT_NEAR(SpinAngle(10.0f, 2.0, 1), 12.8f, 1e-5);
    float view[16], p[3];
    ViewInputs in = {kViewSpinningGlobe, 0, nullptr, nullptr, 0, 0, nullptr, 180};
    ViewpointMatrix(in, view);
    const float x[3] = {80, 0, 0};
    transformPoint(view, x, p);
    EXPECT_NEAR(p[0], -80, 1e-4);
}

GlyphMetrics Glyphs() {
    GlyphMetrics g;
    for (int c = 32; c <= 255; ++c) {
        g.advance[c] = c == ' ' ? 8 : 16;
        g.height[c] = 32;
    }
    g.advance[':'] = 8;
    return g;
}

AstroState Clock(int hour, int minute, int second) {
    AstroState s = {};
    s.localHour = hour, s.localMinute = minute, s.localSecond = second;
    s.utcHour = 3, s.utcMinute = 4, s.utcSecond = 5;
    s.julianDate = 2461383.0833333;
    return s;
}

TEST(TimeDisplay, TextsOfEveryScale) {
    UserOptions o;
    SetDefaultOptions(o);
    o.displayFlags = 0;
    o.timeDisplay = kTimeLocalCivil;
    EXPECT_EQ(MakeTimeDisplayText(o, Clock(0, 5, 0)).timeLine, "12:05:00 AM");
    EXPECT_EQ(MakeTimeDisplayText(o, Clock(12, 5, 0)).timeLine, "12:05:00 PM ");
    EXPECT_EQ(MakeTimeDisplayText(o, Clock(13, 5, 9)).timeLine, "01:05:09 PM ");
    o.displayFlags = kLocalTime24Hour;
    EXPECT_EQ(MakeTimeDisplayText(o, Clock(13, 5, 9)).timeLine, "13:05:09");
    o.timeDisplay = kTimeUtc;
    EXPECT_EQ(MakeTimeDisplayText(o, Clock(13, 5, 9)).timeLine, "03:04:05");
    o.timeDisplay = kTimeJulianDay;
    o.displayFlags = kShowTimeZone;
    TimeDisplayText text = MakeTimeDisplayText(o, Clock(0, 0, 0));
    EXPECT_EQ(text.timeLine, "2461383.08333");
    EXPECT_EQ(text.labelLine, "     Julian Day     ");
    o.timeDisplay = 2;  // shown as local civil time, labelled with the zone
    SetFieldText(o.timeZoneName, std::u16string(u"Eastern Standard Time"));
    text = MakeTimeDisplayText(o, Clock(9, 0, 0));
    EXPECT_EQ(text.labelLine, "Eastern Standard Time");
    EXPECT_TRUE(text.hasLabel);
    o.timeDisplay = kTimeNone;
    EXPECT_EQ(MakeTimeDisplayText(o, Clock(9, 0, 0)).timeLine, "");
}

// The time grows with the view, by the smaller of its two ratios to the default view: a tall
// narrow window keeps it within its width.
TEST(TimeDisplay, GrowsWithTheViewWithinItsWidth) {
    const GlyphMetrics g = Glyphs();
    TimeDisplayText text;
    text.timeLine = "13:05:09";
    EXPECT_EQ(LayoutTimeDisplay(text, g, 1140, 722).timeLeft, -168) << "twice the size";
    EXPECT_EQ(LayoutTimeDisplay(text, g, 570, 990).timeLeft, -84) << "no larger than the width allows";
    EXPECT_EQ(LayoutTimeDisplay(text, g, 4000, 2000).scale, 3.0f) << "at most three times";
    EXPECT_EQ(LayoutTimeDisplay(text, g, 300, 200).scale, 1.0f) << "never smaller";
    // At 192 DPI everything counts twice: a default view's worth of pixels is 1140 x 722.
    EXPECT_EQ(LayoutTimeDisplay(text, g, 1160, 430, 2.0f).scale, 2.0f) << "twice the size at 200 %";
    EXPECT_EQ(LayoutTimeDisplay(text, g, 2280, 1444, 2.0f).scale, 4.0f);
    EXPECT_EQ(LayoutTimeDisplay(text, g, 1140, 722, 1.0f).scale, 2.0f) << "as before at 100 %";
}

TEST(TimeDisplay, LayoutCentresTheLinesAndSizesThePanel) {
    const GlyphMetrics g = Glyphs();
    TimeDisplayText text;
    text.timeLine = "13:05:09";  // 6 digits of 16 and 2 colons of 8: 112 px, 168 units
    TimeDisplayLayout layout = LayoutTimeDisplay(text, g, 570, 361);
    EXPECT_EQ(layout.timeLeft, -84);
    EXPECT_EQ(layout.timeTop, -180);  // a quarter of the window above the bottom edge
    EXPECT_EQ(layout.panelRight, 84);
    EXPECT_EQ(layout.panelBottom, -180 - 48);
    text.hasLabel = true;
    text.labelLine = "UTC";  // narrower than the digits: so is the panel
    layout = LayoutTimeDisplay(text, g, 570, 361);
    EXPECT_EQ(layout.panelLeft, -36);
    EXPECT_EQ(layout.labelTop, -180 - 48);
    EXPECT_EQ(layout.panelBottom, -180 - 48 - 48);
    // Zone names in the ANSI code page: their accented letters are drawn and take their room.
    text.labelLine = std::string("Mitteleurop\xE4ische Zeit");
    EXPECT_EQ(LineWidth(text.labelLine, g), 1.5f * (21 * 16 + 8));
    text.labelLine = std::string("Caf\xE9\x1F");  // a control character has no glyph
    EXPECT_EQ(LineWidth(text.labelLine, g), 1.5f * 64);
}

TEST(TimeDisplay, RowsCoverThePanelAndTheGlyphCells) {
    const GlyphMetrics g = Glyphs();
    TimeDisplayText text;
    text.timeLine = "13:05:09";
    // Overlay units are half pixels from the window's centre: the top at -180 is row 90.5,
    // a glyph cell of 48 units (1.5 x 32) below it reaches down to row 66.5 (units -228).
    PixelRows rows = TimeDisplayRows(text, LayoutTimeDisplay(text, g, 570, 361), 32, 361);
    EXPECT_EQ(rows.first, 65);
    EXPECT_EQ(rows.first + rows.count - 1, 92);
    text.hasLabel = true;
    text.labelLine = "UTC";
    rows = TimeDisplayRows(text, LayoutTimeDisplay(text, g, 570, 361), 32, 361);
    EXPECT_EQ(rows.first, 41) << "the label's cell reaches 48 units lower";
    text.timeLine.clear();
    EXPECT_EQ(TimeDisplayRows(text, LayoutTimeDisplay(text, g, 570, 361), 32, 361).count, 0);
    text.timeLine = "13:05:09";  // a window too low for the display: rows stay inside it
    rows = TimeDisplayRows(text, LayoutTimeDisplay(text, g, 570, 20), 32, 20);
    EXPECT_EQ(rows.first, 0);
    EXPECT_LE(rows.first + rows.count, 20);
}

TEST(GlobeReuse, AGlobeStandsWhileTheEarthTurnsLessThanAQuarterPixel) {
    // The default window's globe (radius about 174 pixels) moves a quarter pixel in 19.7 s;
    // a full-screen globe three times larger, in a third of that.
    EXPECT_NEAR(GlobeStillSeconds(174), 19.7, 0.05);
    EXPECT_NEAR(GlobeStillSeconds(522), 19.7 / 3, 0.02);
    SceneInputs drawn = {2461000.5, 12.0, kViewOverHome, 0x559, 2.35f, 48.86f, {}, 180};
    drawn.drag[0] = drawn.drag[5] = drawn.drag[10] = drawn.drag[15] = 1;
    SceneInputs now = drawn;
    now.julianDate += 10 / 86400.0;
    EXPECT_TRUE(GlobeStillTrue(drawn, now, 174));
    EXPECT_FALSE(GlobeStillTrue(drawn, now, 522));
    now.julianDate = drawn.julianDate - 30 / 86400.0;  // the clock was set back
    EXPECT_FALSE(GlobeStillTrue(drawn, now, 174));
    const auto changed = [&](void (*change)(SceneInputs&)) {
        SceneInputs other = drawn;
        change(other);
        return !GlobeStillTrue(drawn, other, 174);
    };
    EXPECT_TRUE(changed([](SceneInputs& s) { s.viewpoint = kViewFromSun; }));
    EXPECT_TRUE(changed([](SceneInputs& s) { s.displayFlags |= kShowGrid; }));
    EXPECT_TRUE(changed([](SceneInputs& s) { s.homeLatitude += 0.01f; }));
    EXPECT_TRUE(changed([](SceneInputs& s) { s.drag[1] = 0.001f; }));
    EXPECT_TRUE(changed([](SceneInputs& s) { s.spinAngle += 1; }));
    EXPECT_TRUE(changed([](SceneInputs& s) { s.twilightBands = true; }));
}

// A clouds image of another size than the day image is never read past its end: no clouds.
TEST(TextureArithmetic, CloudsOfAnotherSizeAreLeftOut) {
    const std::vector<uint8_t> clouds(2 * 1 * 3, 200), day(4 * 2 * 3, 50);
    EXPECT_TRUE(CloudsComposite(clouds.data(), 2, 1, day.data(), 4, 2).empty());
    EXPECT_TRUE(CloudsComposite(day.data(), 4, 2, clouds.data(), 2, 1).empty());
    EXPECT_TRUE(CloudsComposite(day.data(), 4, 2, day.data(), 2, 4).empty());
    EXPECT_TRUE(CloudsComposite(day.data(), 0, 0, day.data(), 0, 0).empty());
    EXPECT_EQ(CloudsComposite(day.data(), 4, 2, day.data(), 4, 2).size(), 4u * 2 * 3);
}

TEST(TextureArithmetic, SpriteAlphaAndCloudsComposite) {
    EXPECT_EQ(SpriteAlpha(9, 9, 9), 0);
    EXPECT_EQ(SpriteAlpha(10, 10, 10), 10);
    EXPECT_EQ(SpriteAlpha(0, 0, 29), 0);
    EXPECT_EQ(SpriteAlpha(0, 0, 30), 10);
    const uint8_t clouds[] = {0, 0, 0, 192, 192, 192, 100, 130, 160};
    const uint8_t day[] = {200, 100, 50, 10, 20, 30, 255, 255, 255};
    const std::vector<uint8_t> rgb = CloudsComposite(clouds, 3, 1, day, 3, 1);
    const float q = 63 * 0.003921569f;  // no cloud: the day darkened to about 75 %
    EXPECT_EQ(rgb[2], int(200 * (1 - q)));
    EXPECT_EQ(rgb[0], int(50 * (1 - q)));
    EXPECT_EQ(rgb[3], 192);  // thick cloud: the cloud alone
    const float q3 = (130 + 63) * 0.003921569f;
    EXPECT_EQ(rgb[8], int(255 * (1 - q3)) + int(100 * q3));
    const std::vector<uint8_t> rgba = SpriteRgba(clouds + 6, 1, 1);
    EXPECT_EQ(rgba[0], 160);
    EXPECT_EQ(rgba[2], 100);
    EXPECT_EQ(rgba[3], 130);
}

std::vector<uint8_t> ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

uint32_t Little32(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t(b[at + 3]) << 24;
}

TEST(BitmapFile, LayoutAndRowPadding) {
    const std::string path = testing::TempDir() + "layout.bmp";
    std::vector<uint8_t> pixels(800 * 600 * 4, 7);
    pixels[(599 * 800 + 799) * 4] = 42;  // the top row's last pixel, beyond the first batches
    ASSERT_TRUE(WriteBitmapFile(path, 800, 600, pixels.data(), 800 * 4));
    std::vector<uint8_t> file = ReadWholeFile(path);
    ASSERT_EQ(file.size(), 1440054u);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(Little32(file, 2), file.size());
    EXPECT_EQ(Little32(file, 10), 54u);
    EXPECT_EQ(Little32(file, 14), 40u);
    EXPECT_EQ(Little32(file, 18), 800u);
    EXPECT_EQ(Little32(file, 22), 600u);
    EXPECT_EQ(file[26], 1);
    EXPECT_EQ(file[28], 24);
    EXPECT_EQ(Little32(file, 34), 1440000u);
    EXPECT_EQ(Little32(file, 38), 2952u);
    EXPECT_EQ(file[54 + 599 * 2400 + 799 * 3], 42);
    EXPECT_EQ(file[54 + 599 * 2400 + 799 * 3 + 1], 7);

    // Odd widths pad each row with zeros; the fourth byte of a pixel is dropped.
    EXPECT_EQ(BitmapRowBytes(1366), 4100u);
    std::vector<uint8_t> wide(1366 * 2 * 4);
    for (size_t i = 0; i < wide.size(); ++i) wide[i] = uint8_t(i % 4 == 3 ? 0xee : 1 + i % 4 + 10 * (i / 4 / 1366));
    ASSERT_TRUE(WriteBitmapFile(path, 1366, 2, wide.data(), 1366 * 4));
    file = ReadWholeFile(path);
    ASSERT_EQ(file.size(), 54u + 4100 * 2);
    const uint8_t firstRow[] = {1, 2, 3, 1, 2, 3}, secondRow[] = {11, 12, 13};
    EXPECT_TRUE(std::equal(firstRow, firstRow + 6, &file[54]));
    EXPECT_EQ(file[54 + 4097], 3);
    EXPECT_EQ(file[54 + 4098], 0);
    EXPECT_EQ(file[54 + 4099], 0);
    EXPECT_TRUE(std::equal(secondRow, secondRow + 3, &file[54 + 4100]));

    // A top-down picture, given from its last row with a negative stride, makes the same file.
    std::vector<uint8_t> flipped(wide.begin() + 1366 * 4, wide.end());
    flipped.insert(flipped.end(), wide.begin(), wide.begin() + 1366 * 4);
    ASSERT_TRUE(WriteBitmapFile(path, 1366, 2, &flipped[1366 * 4], -1366 * 4));
    EXPECT_EQ(ReadWholeFile(path), file);
}

TEST(BitmapFile, FailedWriteKeepsThePreviousFile) {
    const std::string path = testing::TempDir() + "kept.bmp";
    std::vector<uint8_t> pixels(4 * 4 * 4, 1);
    ASSERT_TRUE(WriteBitmapFile(path, 4, 4, pixels.data(), 16));
    const std::vector<uint8_t> before = ReadWholeFile(path);
    EXPECT_FALSE(WriteBitmapFile(path, 0, 4, pixels.data(), 16));
    EXPECT_FALSE(WriteBitmapFile(testing::TempDir() + "no/such/folder/x.bmp", 4, 4, pixels.data(), 16));
    EXPECT_EQ(ReadWholeFile(path), before);
}

TEST(TextureArithmetic, MoonPictureAlphaAndMipmapLevels) {
    uint8_t rgba[4];
    const uint8_t dim[3] = {4, 5, 5}, enough[3] = {5, 5, 5};  // sums 14 and 15
    MoonImagePixel(dim, rgba);
    EXPECT_EQ(rgba[3], 0);
    EXPECT_EQ(rgba[0], 0);
    MoonImagePixel(enough, rgba);
    EXPECT_EQ(rgba[3], 255);
    const uint8_t bgr[3] = {10, 20, 30};
    MoonImagePixel(bgr, rgba);
    EXPECT_EQ(rgba[0], 30);
    EXPECT_EQ(rgba[2], 10);
    std::vector<uint8_t> level(4 * 4 * 4, 0);
    level[0] = 255;   // one bright red pixel in the first 2 x 2 block
    level[4 * 5 + 1] = 100;
    const std::vector<uint8_t> half = HalveImage(level, 4, 4, 4);
    ASSERT_EQ(half.size(), 2u * 2 * 4);
    EXPECT_EQ(half[0], 64);
    EXPECT_EQ(half[1], 25);
    EXPECT_EQ(half[4], 0);
    // A strip: only one side halves once the other is down to a pixel.
    const std::vector<uint8_t> strip = {10, 20, 30, 40, 50, 60, 70, 80};
    const std::vector<uint8_t> halfStrip = HalveImage(strip, 8, 1, 1);
    EXPECT_EQ(halfStrip, (std::vector<uint8_t>{15, 35, 55, 75}));
    const std::vector<uint8_t> rgb(1024 * 512 * 3, 9);
    EXPECT_EQ(HalveImage(rgb, 1024, 512, 3).size(), 512u * 256 * 3);
}

}  // namespace
