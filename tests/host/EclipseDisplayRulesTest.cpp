#include "app/EclipseWatch.h"
#include "astro/Eclipses.h"
#include "astro/Ephemeris.h"
#include "astro/JulianDate.h"
#include "desktop/HomeSolarEclipse.h"
#include "render/LunarEclipseShadow.h"
#include "render/SolarEclipseShadow.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <thread>
#include <vector>

namespace {

Eclipse Found(EclipseKind kind, double greatest) {
    Eclipse e{kind, EclipseType::kPartial, greatest};
    return e;
}

// The next of each kind is kept through its course and given up once it has passed; the outlook
// expires with the earlier of the two.
TEST(EclipseDisplayRules, NextEclipsesAndWhenTheyExpire) {
    const double half = kEclipseHalfSpanDays;
    const std::vector<Eclipse> found = {Found(EclipseKind::kSolar, 100), Found(EclipseKind::kLunar, 114),
                                        Found(EclipseKind::kSolar, 277), Found(EclipseKind::kLunar, 292)};
    struct Case {
        double now;
        double solar, lunar;  // greatest eclipse of the next of each; 0: none
        double expiry;
    } cases[] = {
        {90, 100, 114, 100 + half},
        {100.1, 100, 114, 100 + half},  // under way, after its greatest
        {100 + half + 1e-6, 277, 114, 114 + half},
        {200, 277, 292, 277 + half},
        {290, 0, 292, 292 + half},  // the search span holds no later solar eclipse
        {300, 0, 0, HUGE_VAL},
    };
    for (const Case& c : cases) {
        const EclipseOutlook outlook = NextEclipses(found, c.now);
        EXPECT_EQ(outlook.state, EclipseOutlook::State::kFound);
        EXPECT_EQ(outlook.solar ? outlook.solar->greatestUtcJd : 0, c.solar) << c.now;
        EXPECT_EQ(outlook.lunar ? outlook.lunar->greatestUtcJd : 0, c.lunar) << c.now;
        EXPECT_DOUBLE_EQ(OutlookExpiry(outlook), c.expiry) << c.now;
    }
    EclipseOutlook searching = NextEclipses(found, 90);
    searching.state = EclipseOutlook::State::kSearching;
    EXPECT_EQ(OutlookExpiry(searching), HUGE_VAL) << "a search under way does not expire";
}

// The clock set back from May to March 2024: the search starts again from the new now, and the
// eclipse of April 8 is the next solar one once more.
TEST(EclipseWatch, SearchesAgainWhenTheClockIsSet) {
    std::atomic<double> now{JulianDate(2024, 5, 1, 0)};
    EclipseWatch watch(SOLVANE_TEST_CHEBY, [&] { return now.load(); }, [] {});
    const auto nextSolarOn = [&](int month, int day) {
        const double day0 = JulianDate(2024, month, day, 0);
        for (int waited = 0; waited < 60000; waited += 20) {
            const EclipseOutlook o = watch.outlook();
            if (o.solar && o.solar->greatestUtcJd >= day0 && o.solar->greatestUtcJd < day0 + 1) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    };
    watch.watch({32.78, -96.80, 0});
    EXPECT_TRUE(nextSolarOn(10, 2));
    now = JulianDate(2024, 3, 8, 0);
    watch.searchAgain();
    EXPECT_TRUE(nextSolarOn(4, 8));
}

TEST(EclipseDisplayRules, LightLeftUnderTheMoonsShadow) {
    struct Case {
        double magnitude, obscuration;
        bool central;
        float light;
    } cases[] = {
        {0, 0, false, 1},
        {0.2, 0.09, false, 0.742f},     // the outer penumbra already shows
        {0.6, 0.49, false, 0.398f},     // darker with the share hidden
        {0.98, 0.97, false, 0.153f},  // just outside the umbra
        {1.01, 1, true, 0.03f},        // umbra
        {0.95, 0.9, true, 0.15f},      // antumbra: darker than its share alone says
        {0, NAN, false, 1},
    };
    for (const Case& c : cases) {
        SolarCover cover;
        cover.magnitude = c.magnitude, cover.obscuration = c.obscuration, cover.central = c.central;
        EXPECT_NEAR(SolarEclipseLight(cover), c.light, 1e-5) << c.obscuration;
    }
}

// The Sun's light along +x; the Moon between, off the line by an angle seen from the Earth.
TEST(EclipseDisplayRules, WhetherTheMoonsShadowFallsOnTheEarth) {
    struct Case {
        double moonDegreesOff;
        double moonSide;  // +1 towards the Sun (new Moon), -1 away from it (full Moon)
        bool onEarth;
    } cases[] = {{0, 1, true}, {0.9, 1, true}, {1.6, 1, false}, {0, -1, false}};
    for (const Case& c : cases) {
        const double a = c.moonDegreesOff * M_PI / 180;
        const EclipseSky sky = {{1.496e8, 0, 0}, {c.moonSide * 384400 * std::cos(a), 384400 * std::sin(a), 0}};
        EXPECT_EQ(SolarEclipseOnEarth(sky), c.onEarth) << c.moonDegreesOff << " " << c.moonSide;
    }
}

// 2024-04-08 18:41 UTC, totality near Dallas, on a map of 2 x 2 texels a degree: darkest at
// Dallas, darkened under the penumbra over North America, all the light on the far side of the
// Earth, where the line to the Sun passes the Moon through the Earth.
TEST(EclipseDisplayRules, TheMoonsShadowOnTheMap) {
    EphemerisReader reader;
    ASSERT_TRUE(reader.open(SOLVANE_TEST_CHEBY, nullptr));
    const EclipseSky sky = EclipseSkyAt(reader, JulianDate(2024, 4, 8, 18 + 41 / 60.0));
    const int width = 720, height = 360;
    const std::vector<uint8_t> map = SolarEclipseLightMap(width, height, sky);
    ASSERT_EQ(map.size(), std::size_t(width) * height * 3);
    const auto at = [&](double lat, double lon) {
        return map[(std::size_t(std::lround((lat + 90) * 2 - 0.5)) * width + std::lround((lon + 180) * 2 - 0.5)) * 3];
    };
    EXPECT_LT(at(32.8, -96.8), 25) << "the umbra";
    EXPECT_LT(at(40, -90), 150) << "two thirds of the Sun hidden";
    EXPECT_EQ(at(17.5, 77.5), 255) << "the far side";
    EXPECT_EQ(at(-40, 0), 255) << "outside the penumbra";
    EXPECT_TRUE(SolarEclipseLightMap(0, 10, sky).empty());
}

TEST(EclipseDisplayRules, HomesShareOfTheSunInWholePerCent) {
    struct Case {
        bool sunUp;
        double obscuration;
        int percent;
    } cases[] = {{true, 0.634, 63}, {true, 0.001, 1}, {true, 1, 100}, {true, 0, 0}, {false, 0.6, 0}};
    for (const Case& c : cases) {
        SolarCover cover;
        cover.sunUp = c.sunUp, cover.obscuration = c.obscuration;
        EXPECT_EQ(SolarEclipsePercent(cover), c.percent) << c.obscuration;
    }
}

// Radii of the 2025-03-14 total eclipse, about; the shadow's centre on the Moon's.
TEST(EclipseDisplayRules, EarthsShadowOnTheMoon) {
    const LunarShadow shadow = {0.0045, 0.0127, 0.0215, 0, 0};
    float centre[3], umbraIn[3], umbraOut[3], penumbra[3], outside[3];
    LunarShadowLight(shadow, 0, 0, centre);
    LunarShadowLight(shadow, 0.0125, 0, umbraIn);
    LunarShadowLight(shadow, 0, 0.0129, umbraOut);
    LunarShadowLight(shadow, -0.017, 0, penumbra);
    LunarShadowLight(shadow, 0, -0.022, outside);
    EXPECT_LT(centre[0], 0.3f);
    EXPECT_GT(centre[0], 2 * centre[1]) << "reddened";
    EXPECT_GT(centre[1], centre[2]);
    for (int k = 0; k < 3; ++k) {
        EXPECT_LT(umbraIn[k], umbraOut[k]) << "darker within the umbra, channel " << k;
        EXPECT_GT(penumbra[k], 0.5f);
        EXPECT_LT(penumbra[k], 1.0f);
        EXPECT_EQ(penumbra[k], penumbra[0]) << "grey";
        EXPECT_EQ(outside[k], 1.0f);
    }
    EXPECT_TRUE(LunarEclipseOn({0.0045, 0.0127, 0.0215, 0.025, 0}));
    EXPECT_FALSE(LunarEclipseOn({0.0045, 0.0127, 0.0215, 0.0, 0.027}));
}

}  // namespace
