// Julian dates, nutation, obliquity and sidereal time against Meeus' worked examples and ERFA.
#include "astro/EarthTilt.h"
#include "astro/JulianDate.h"
#include "astro/Nutation.h"
#include "astro/NutationSeries.h"
#include "astro/Precession.h"

#include <erfa.h>
#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double kArcsecPerRad = 206264.80624709636;

// Dates spread over the ephemeris' range, 1960 to 2060, at odd times of day.
std::vector<double> SampleDates() {
    std::vector<double> dates;
    for (double jd = 2436934.5; jd < 2473460.0; jd += 365.2422 * 0.73 + 0.137) dates.push_back(jd);
    return dates;
}

TEST(JulianDate, CalendarRoundTrip) {
    struct Case { int y, m, d; double hours, jd; };
    const Case cases[] = {
        {2000, 1, 1, 12.0, 2451545.0}, {2000, 1, 1, 0.0, 2451544.5},
        {1987, 4, 10, 0.0, 2446895.5}, {1957, 10, 4, 19.44, 2436116.31},
        {1900, 3, 1, 0.0, 2415079.5},  {2100, 2, 28, 18.0, 2488128.25},
        {2024, 2, 29, 6.0, 2460369.75}, {1600, 12, 31, 0.0, 2305812.5},
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(JulianDate(c.y, c.m, c.d, c.hours), c.jd, 1e-9) << c.y << "-" << c.m << "-" << c.d;
        int y, m, d;
        double hour;
        CalendarDate(c.jd, &y, &m, &d, &hour);
        EXPECT_EQ(y, c.y);
        EXPECT_EQ(m, c.m);
        EXPECT_EQ(d, c.d);
        EXPECT_NEAR(hour, c.hours, 1e-6);
    }
}

TEST(NutationAngles, AgreesWithErfaNut80) {
    for (double jd : SampleDates()) {
        double dpsi, deps, erfaPsi, erfaEps;
        NutationAngles((jd - 2451545.0) / 36525.0, &dpsi, &deps);
        eraNut80(jd, 0, &erfaPsi, &erfaEps);
        EXPECT_NEAR(dpsi, erfaPsi * kArcsecPerRad, 1e-9) << jd;
        EXPECT_NEAR(deps, erfaEps * kArcsecPerRad, 1e-9) << jd;
    }
}

TEST(Nutation, AgreesWithErfaAndItsRatesWithTheSlope) {
    for (double jd : SampleDates()) {
        double dpsi, deps, dpsiRate, depsRate, erfaPsi, erfaEps, before[2], after[2];
        Nutation(jd, &dpsi, &deps, &dpsiRate, &depsRate);
        eraNut80(jd, 0, &erfaPsi, &erfaEps);
        EXPECT_NEAR(dpsi, erfaPsi, 1e-14) << jd;
        EXPECT_NEAR(deps, erfaEps, 1e-14) << jd;
        eraNut80(jd - 0.01, 0, &before[0], &before[1]);
        eraNut80(jd + 0.01, 0, &after[0], &after[1]);
        EXPECT_NEAR(dpsiRate, (after[0] - before[0]) / 0.02, 1e-11) << jd;
        EXPECT_NEAR(depsRate, (after[1] - before[1]) / 0.02, 1e-11) << jd;
    }
}

TEST(EarthTilt, MeeusExample22a) {
    // 1987 April 10, 0h: delta psi -3.788", delta epsilon +9.443", mean obliquity
    // 23 26' 27.407", true obliquity 23 26' 36.850".
    double mean, trueObliquity, eqeq, dpsi, deps;
    EarthTilt(2446895.5, &mean, &trueObliquity, &eqeq, &dpsi, &deps);
    EXPECT_NEAR(dpsi, -3.788, 0.0005);
    EXPECT_NEAR(deps, 9.443, 0.001);  // Meeus sums only the largest terms
    EXPECT_NEAR(mean * 3600, 23 * 3600 + 26 * 60 + 27.407, 0.0005);
    EXPECT_NEAR(trueObliquity * 3600, 23 * 3600 + 26 * 60 + 36.850, 0.001);
}

TEST(EarthTilt, AgreesWithErfaAndObliquityIsExactAtJ2000) {
    double mean, trueObliquity, eqeq, dpsi, deps;
    EarthTilt(2451545.0, &mean, &trueObliquity, &eqeq, &dpsi, &deps);
    EXPECT_EQ(mean, 84381.448 / 3600);
    for (double jd : SampleDates()) {
        EarthTilt(jd, &mean, &trueObliquity, &eqeq, &dpsi, &deps);
        double erfaPsi, erfaEps;
        eraNut80(jd, 0, &erfaPsi, &erfaEps);
        EXPECT_NEAR(mean, eraObl80(jd, 0) * 57.29577951308232, 1e-12) << jd;
        EXPECT_NEAR(trueObliquity, mean + erfaEps * kArcsecPerRad / 3600, 1e-12) << jd;
        EXPECT_NEAR(eqeq, eraEqeq94(jd, 0) * kArcsecPerRad / 15, 1e-7) << jd;
    }
}

TEST(EarthTilt, KeepsTheSeriesForAFractionOfASecond) {
    double mean, trueObliquity, eqeq, first[2], near[2], far[2];
    const double jd = 2460000.123;
    EarthTilt(jd, &mean, &trueObliquity, &eqeq, &first[0], &first[1]);
    EarthTilt(jd + 0.05 / 86400, &mean, &trueObliquity, &eqeq, &near[0], &near[1]);
    EXPECT_EQ(near[0], first[0]);
    EXPECT_EQ(near[1], first[1]);
    EarthTilt(jd + 0.15 / 86400, &mean, &trueObliquity, &eqeq, &far[0], &far[1]);
    EXPECT_NE(far[0], first[0]);
    double series[2];
    NutationAngles((jd + 0.15 / 86400 - 2451545.0) / 36525, &series[0], &series[1]);
    EXPECT_NEAR(far[0], series[0], 1e-12);
}

double Hms(int h, int m, double s) { return h + m / 60.0 + s / 3600.0; }

TEST(SiderealTime, MeeusExamples12aAnd12b) {
    double gst;
    SiderealTime(2446895.5, 0, 0, &gst);
    EXPECT_NEAR(gst, Hms(13, 10, 46.3668), 0.00005 / 3600);
    double mean, trueObliquity, eqeq, dpsi, deps;
    EarthTilt(2446895.5, &mean, &trueObliquity, &eqeq, &dpsi, &deps);
    SiderealTime(2446895.5, 0, eqeq, &gst);
    EXPECT_NEAR(gst, Hms(13, 10, 46.1351), 0.0002 / 3600);
    SiderealTime(2446896.30625, 0, 0, &gst);  // 19h21m00s UT
    EXPECT_NEAR(gst, Hms(8, 34, 57.0896), 0.0005 / 3600);
}

TEST(SiderealTime, AgreesWithErfaGmst82EverywhereAndWrapsBeforeJ2000) {
    for (double jd : SampleDates()) {
        double gst, angle;
        SiderealTime(jd, 0, 0, &gst);
        EXPECT_NEAR(gst, eraGmst82(jd, 0) * 12 / M_PI, 1e-8) << jd;
        SiderealAngle(jd, 0, &angle);
        EXPECT_NEAR(angle, eraGmst82(jd, 0), 1e-9) << jd;
        double dpsi, deps;
        eraNut80(jd, 0, &dpsi, &deps);
        const double apparent = eraAnp(eraGmst82(jd, 0) + std::cos(eraObl80(jd, 0) + deps) * dpsi);
        SiderealAngle(jd, 1, &angle);
        EXPECT_NEAR(std::remainder(angle - apparent, 2 * M_PI), 0, 1e-9) << jd;
        EXPECT_GE(gst, 0);
        EXPECT_LT(gst, 24);
    }
    double gst;
    SiderealTime(1721057.5, 0, 0, &gst);  // year 0: the remainder is negative
    EXPECT_GE(gst, 0);
    EXPECT_NEAR(gst, eraAnp(eraGmst82(1721057.5, 0)) * 12 / M_PI, 1e-6);
}

TEST(LocalSiderealHours, WrapsOnceEachWay) {
    EXPECT_NEAR(LocalSiderealHours(2.0, -81.38f), 20.574667, 1e-5);
    EXPECT_NEAR(LocalSiderealHours(23.0, 30.0f), 1.0, 1e-6);
    EXPECT_NEAR(LocalSiderealHours(12.0, 0.0f), 12.0, 1e-12);
}

TEST(PrecessionAndObliquity, AgreeWithErfa) {
    for (double jd : SampleDates()) {
        double zeta, z, theta, zetaRate, zRate, thetaRate, ez, ezz, eth;
        PrecessionAngles(2451545.0, jd, &zeta, &z, &theta, &zetaRate, &zRate, &thetaRate);
        eraPrec76(2451545.0, 0, jd, 0, &ez, &ezz, &eth);
        EXPECT_NEAR(zeta, ez, 1e-14);
        EXPECT_NEAR(z, ezz, 1e-14);
        EXPECT_NEAR(theta, eth, 1e-14);
        double zeta2, z2, theta2, r1, r2, r3;
        PrecessionAngles(2451545.0, jd + 1, &zeta2, &z2, &theta2, &r1, &r2, &r3);
        EXPECT_NEAR(zetaRate, zeta2 - zeta, 1e-13);
        EXPECT_NEAR(thetaRate, theta2 - theta, 1e-13);
        double eps, epsRate;
        Obliquity(2451545.0, jd, 0, &eps, &epsRate);
        EXPECT_NEAR(eps, eraObl80(jd, 0), 1e-14);
        EXPECT_NEAR(epsRate, eraObl80(jd + 1, 0) - eraObl80(jd, 0), 1e-14);
    }
}

}  // namespace
