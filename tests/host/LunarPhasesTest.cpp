#include "almanac/LunarPhasesLayout.h"
#include "almanac/OrbitAnimation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

TEST(PhaseLabelTracker, PrincipalAnglesWithinFifteenDegreesElseTheLastLabel) {
    PhaseLabelTracker labels;
    EXPECT_EQ(labels.nearest(180), 4) << "the start: the Moon at 0, the label input 180";
    EXPECT_STREQ(OrbitPhaseLabel(4), "Full Moon");
    struct Case { float angle; int index; };
    const Case walk[] = {
        {194.9f, 4}, {195.1f, 4}, {209.9f, 4}, {210.1f, 5}, {240, 5}, {255.5f, 6},
        // Round the circle: from 345 on, the new Moon is within 15 degrees.
        {300.1f, 7}, {344.9f, 7}, {345.1f, 0}, {360, 0}, {365, 0},
        {380, 0},  // 380 -> 20: no principal angle within 15 degrees keeps the last label
        {390, 0}, {405, 1}, {420, 1},  // exactly 15 degrees away is not within
    };
    for (const Case& c : walk) EXPECT_EQ(labels.nearest(c.angle), c.index) << c.angle;
    EXPECT_STREQ(OrbitPhaseLabel(1), "Waxing Crescent");
    EXPECT_STREQ(OrbitPhaseLabel(7), "Waning Crescent");
    EXPECT_STREQ(OrbitPhaseLabel(99), "New Moon");
}

TEST(OrbitAnimation, OneOrbitIn1008FramesAnd28TurnsOfTheEarth) {
    OrbitAngles a;
    double earthTurns = 0;
    float previousEarth = 0;
    for (int frame = 0; frame < 1008; ++frame) {
        AdvanceOrbit(a);
        if (a.earth < previousEarth) ++earthTurns;
        previousEarth = a.earth;
        ASSERT_LE(a.earth, 360.0f);
        ASSERT_LE(a.moon, 360.0f);
    }
    EXPECT_LT(std::fabs(std::remainder(a.moon, 360.0f)), 0.05f) << "a whole orbit, give or take single precision";
    EXPECT_EQ(earthTurns, 27);  // the 28th turn ends exactly at 360, not past it
    EXPECT_NEAR(a.earth, 360.0f, 0.01f);
}

// The orbit view as drawn: its oval below the banner, the grey line, the Earth and the Moon.
class OrbitGeometry : public testing::Test {
protected:
    static constexpr int w = kOrbitViewPlace.width, h = kOrbitViewPlace.height;
    static constexpr int covered = kLunarBannerHeight - kOrbitViewPlace.y;
    // Whether (x, y) lies inside the view's oval and below the banner, `margin` pixels in.
    static bool Visible(double x, double y, double margin) {
        const double dx = (x - w / 2.0) / (w / 2.0 - margin), dy = (y - h / 2.0) / (h / 2.0 - margin);
        return dx * dx + dy * dy <= 1 && y >= covered + margin;
    }
    static bool DiscVisible(const ViewDisc& d, double margin) {
        for (int i = 0; i < 32; ++i) {
            const double a = i * 3.14159265358979 / 16;
            if (!Visible(d.x + d.radius * std::cos(a), d.y + d.radius * std::sin(a), margin)) return false;
        }
        return true;
    }
};

TEST_F(OrbitGeometry, EverythingDrawnLiesInTheOvalBelowTheBanner) {
    const OrbitScene& s = kOrbitScene;
    EXPECT_EQ(covered, 46);
    for (float angle = 0; angle < 360; angle += 0.5f) {
        const ViewDisc moon = OrbitPointOnView(s, angle, s.orbitRadius, s.moonRadius, w, h);
        ASSERT_TRUE(DiscVisible(moon, 4)) << "the Moon at " << angle;
        // The name's capitals stand on a baseline twice their height above the bottom.
        ASSERT_LT(moon.y + moon.radius, h - 32) << "clear of the phase's name at the bottom, the Moon at " << angle;
    }
    const ViewDisc earth = EarthOnView(s, w, h);
    EXPECT_TRUE(DiscVisible(earth, 4));
    EXPECT_NEAR(earth.x, w / 2.0, 0.01);
}

TEST_F(OrbitGeometry, ProjectionMatchesTheCamera) {
    // A point at the scene's centre with no lift shows in the view's middle; nearer means larger.
    OrbitScene flat;
    flat.lift = 0;
    flat.tilt = 0;
    flat.planeRise = 0;
    const ViewDisc centre = OrbitPointOnView(flat, 0, 0, 1, w, h);
    EXPECT_NEAR(centre.x, w / 2.0, 1e-9);
    EXPECT_NEAR(centre.y, h / 2.0, 1e-9);
    // Half the field's height at the camera's distance reaches the view's top edge.
    flat.tilt = 90;  // the far side (angle 90) straight up
    const double up = flat.cameraDistance * std::tan(flat.fieldOfView / 2 * 3.14159265358979 / 180);
    EXPECT_NEAR(OrbitPointOnView(flat, 90, float(up), 0, w, h).y, 0, 0.01);
    flat.tilt = 0;
    EXPECT_GT(OrbitPointOnView(flat, 270, 5, 0.5f, w, h).radius, OrbitPointOnView(flat, 90, 5, 0.5f, w, h).radius);
}

TEST(LunarPhasesLayout, EntriesAroundTheOrbitForTheTextHeight) {
    struct Case { int entry, h; PhaseEntryPlaces at; };
    const Case cases[] = {
        {0, 16, {270, 103, 270, 119, 282, 136}},
        {1, 16, {322, 210, 322, 226, 320, 242}},
        {2, 16, {315, 314, 315, 330, 293, 346}},
        {3, 16, {290, 418, 290, 434, 223, 406}},
        {3, 15, {290, 417, 290, 432, 223, 406}},  // h/2 truncates
    };
    for (const Case& c : cases) {
        const PhaseEntryPlaces p = PhaseEntryPlacesFor(c.entry, c.h);
        EXPECT_EQ(p.nameX, c.at.nameX) << c.entry;
        EXPECT_EQ(p.nameY, c.at.nameY) << c.entry;
        EXPECT_EQ(p.dateX, c.at.dateX) << c.entry;
        EXPECT_EQ(p.dateY, c.at.dateY) << c.entry;
        EXPECT_EQ(p.pictureX, c.at.pictureX) << c.entry;
        EXPECT_EQ(p.pictureY, c.at.pictureY) << c.entry;
    }
}

TEST(LunarPhasesLayout, IlluminationHasOneDecimalAndAPercentSign) {
    EXPECT_EQ(IlluminationText(99.54), "Illumination: 99.5%");
    EXPECT_EQ(IlluminationText(0), "Illumination: 0.0%");
    EXPECT_EQ(IlluminationText(100), "Illumination: 100.0%");
    EXPECT_EQ(IlluminationText(49.96), "Illumination: 50.0%");
    EXPECT_EQ(IlluminationText(NAN), "Illumination: 0.0%");
}

}  // namespace
