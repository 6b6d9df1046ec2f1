// Apparent places against an independent chain (DE405 evaluated by numpy, ERFA's light
// deflection, aberration, precession and nutation matrices; tools/reference/apparent.py),
// Meeus' example 25.b, and the rotation helpers.
#include "EphemerisFixture.h"

#include "astro/FrameRotation.h"
#include "astro/Reduce.h"

#include <cmath>

namespace {

struct PlaceRow {
    double jd;
    int body;
    double position[3];  // apparent geocentric, true equator and equinox of date, AU
};

const PlaceRow kPlaces[] = {
    {2437000.500000, kSun, {0.96479524305876607, -0.21358700512378567, -0.092616802468324072}},
    {2437000.500000, kMoon, {-0.00014840856195932314, 0.0025606584354131582, 0.00084249656409623899}},
    {2444239.500000, kSun, {0.16591463796654718, -0.88920144893850583, -0.38552188876017351}},
    {2444239.500000, kMoon, {0.00030591535744011567, 0.0024206221696321932, 0.00081887326077222089}},
    {2448908.500000, kSun, {-0.93800393605973631, -0.31163467140720125, -0.13511178099672752}},
    {2448908.500000, kMoon, {0.0021675129367307085, 0.0012865460865051893, 0.00074900119758189757}},
    {2451545.000000, kSun, {0.17697207571486734, -0.88746667379157362, -0.38472992006128331}},
    {2451545.000000, kMoon, {-0.0019494117399235129, -0.0017827796011290482, -0.00050860877061340655}},
    {2455197.500000, kSun, {0.17835549754572699, -0.88720163273967867, -0.38463914215295614}},
    {2455197.500000, kMoon, {-0.00054984865846025716, 0.0021332356389606954, 0.00095794337969594434}},
    {2458849.500000, kSun, {0.17089418685604355, -0.88844405283483552, -0.38513321128566252}},
    {2458849.500000, kMoon, {0.002611351621595431, -0.00050005336267537311, -0.00046777566977140248}},
    {2460000.250000, kSun, {0.90307332382760863, -0.37142090577774317, -0.16102498379855756}},
    {2460000.250000, kMoon, {0.0020746309905993574, 0.0013493757004154202, 0.00058267591974365228}},
    {2461382.750000, kSun, {-0.23587304086979682, -0.8775776515372159, -0.38044888542032523}},
    {2461382.750000, kMoon, {-0.0010283711946884504, -0.0021861534593092115, -0.0011972016646092903}},
    {2473400.500000, kSun, {-0.7538123434981352, -0.59213931684907983, -0.25664686988956997}},
    {2473400.500000, kMoon, {-0.0026159864257732889, -0.00066111631602846013, -0.00013763737080035664}},
};

TEST_F(WithEphemeris, ApparentPlacesMatchTheIndependentChain) {
    for (const PlaceRow& row : kPlaces) {
        double out[6];
        ASSERT_TRUE(Reduce(row.jd, row.body, kApparentGeocentric, out));
        EXPECT_LT(AngleArcsec(out, row.position), row.body == kSun ? 0.001 : 0.005)
            << "body " << row.body << " jd " << row.jd;
        const double distance = std::sqrt(out[0] * out[0] + out[1] * out[1] + out[2] * out[2]);
        const double expected = std::sqrt(row.position[0] * row.position[0] +
                                          row.position[1] * row.position[1] +
                                          row.position[2] * row.position[2]);
        EXPECT_NEAR(distance / expected, 1.0, 1e-12);
    }
}

TEST_F(WithEphemeris, MeeusExample25b) {
    // 1992 October 13.0 TD: alpha 13h13m30.749s, delta -7 47' 01.74" (VSOP87 with FK5).
    double out[6], ra, dec;
    Reduce(2448908.5, kSun, kApparentGeocentric, out);
    ASSERT_EQ(VectorToRaDec(out, &ra, &dec), 0);
    EXPECT_NEAR(ra * 3600, 13 * 3600 + 13 * 60 + 30.749, 0.005);
    EXPECT_NEAR(dec * 3600, -(7 * 3600 + 47 * 60 + 1.74), 0.05);
}

TEST_F(WithEphemeris, DistancesStayWithinTheOrbits) {
    for (double jd = 2437000.5; jd < 2473400.0; jd += 97.3) {
        double sun[6], moon[6];
        Reduce(jd, kSun, kApparentGeocentric, sun);
        Reduce(jd, kMoon, kApparentGeocentric, moon);
        const double rs = std::sqrt(sun[0] * sun[0] + sun[1] * sun[1] + sun[2] * sun[2]);
        const double rm = std::sqrt(moon[0] * moon[0] + moon[1] * moon[1] + moon[2] * moon[2]);
        EXPECT_GT(rs, 0.983);
        EXPECT_LT(rs, 1.017);
        EXPECT_GT(rm, 0.0023);
        EXPECT_LT(rm, 0.0028);
    }
}

TEST_F(WithEphemeris, OtherKindsAndRefusedBodies) {
    double astrometric[6], j2000[6], apparent[6];
    ASSERT_TRUE(Reduce(2451545.0, kSun, kAstrometric, astrometric));
    ASSERT_TRUE(Reduce(2451545.0, kSun, kGeocentricJ2000, j2000));
    ASSERT_TRUE(Reduce(2451545.0, kSun, kApparentGeocentric, apparent));
    // Annual aberration: v / c at perihelion speed (30.29 km/s).
    EXPECT_NEAR(AngleArcsec(astrometric, j2000), 20.84, 0.02);
    EXPECT_LT(AngleArcsec(j2000, apparent), 20.0);              // precession is small at J2000
    EXPECT_FALSE(Reduce(2451545.0, kSun, 6, apparent));
    EXPECT_EXIT(Reduce(2451545.0, kEarth, kApparentGeocentric, apparent),
                testing::ExitedWithCode(1), "Reduce: can't perform reduction for specified body.");
}

TEST_F(WithEphemeris, TopocentricMoonShowsTheParallax) {
    ObserverSite& site = CurrentObserverSite();
    site = {0.5, 1.0, 0};
    double geocentric[6], topocentric[6];
    Reduce(2451545.0, kMoon, kApparentGeocentric, geocentric);
    Reduce(2451545.0, kMoon, kApparentTopocentric, topocentric);
    const double parallax = AngleArcsec(geocentric, topocentric);
    EXPECT_GT(parallax, 0.0);
    EXPECT_LT(parallax, 3600 * 1.02);  // at most the horizontal parallax, about 1 degree
    double observer[6];
    ObserverState(2451545.0, observer);
    const double r = std::sqrt(observer[0] * observer[0] + observer[1] * observer[1] +
                               observer[2] * observer[2]);
    EXPECT_NEAR(r * 149597870.7, 6373.0, 10.0);  // the geocentric radius at latitude 28.6
    site = ObserverSite();
}

TEST(VectorToRaDec, CodesAndQuadrants) {
    struct Case { double v[3]; int code; double ra, dec; };
    const Case cases[] = {
        {{0, 0, -1}, 2, 0, -90}, {{0, 0, 2}, 2, 0, 90}, {{0, 0, 0}, 1, 0, 0},
        {{1, 0, 0}, 0, 0, 0},    {{0, 1, 0}, 0, 6, 0},  {{-1, -1e-12, 0}, 0, 12, 0},
        {{0, -1, 1}, 0, 18, 45},
    };
    for (const Case& c : cases) {
        double ra = -1, dec = -1;
        EXPECT_EQ(VectorToRaDec(c.v, &ra, &dec), c.code);
        EXPECT_NEAR(ra, c.ra, 1e-9);
        EXPECT_NEAR(dec, c.dec, 1e-9);
    }
}

TEST(RotMat, RotationsAreOrthonormalWithTheirDerivative) {
    for (int axis = 1; axis <= 3; ++axis) {
        double R[3][3], dR[3][3], Rh[3][3], unused[3][3];
        RotMat(axis, 0.7, R, dR);
        RotMat(axis, 0.7 + 1e-7, Rh, unused);
        for (int i = 0; i < 3; ++i) {
            for (int j = 0; j < 3; ++j) {
                double dot = 0;
                for (int k = 0; k < 3; ++k) dot += R[i][k] * R[j][k];
                EXPECT_NEAR(dot, i == j ? 1 : 0, 1e-15);
                EXPECT_NEAR(dR[i][j], (Rh[i][j] - R[i][j]) / 1e-7, 1e-6);
            }
        }
        EXPECT_EQ(R[axis - 1][axis - 1], 1.0);
    }
    // A frame turned by +90 degrees about z sees the x axis at -90 degrees.
    double R[3][3], dR[3][3];
    RotMat(3, M_PI / 2, R, dR);
    EXPECT_NEAR(R[1][0], -1, 1e-15);
    EXPECT_EXIT(RotMat(4, 0, R, dR), testing::ExitedWithCode(1), "RotMat: axis not valid.");
}

TEST(RotateState, VelocityFollowsTheTurningFrame) {
    const double in[6] = {1, 0, 0, 0, 0, 0};
    double out[6];
    RotateState(in, 3, 0, 2.0, out);  // frame turning at 2 rad/day: a fixed point moves
    EXPECT_NEAR(out[0], 1, 1e-15);
    EXPECT_NEAR(out[4], -2, 1e-15);
}

}  // namespace
