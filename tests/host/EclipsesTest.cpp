#include "EphemerisFixture.h"

#include "astro/EclipseGeometry.h"
#include "astro/Eclipses.h"
#include "astro/Ephemeris.h"
#include "astro/JulianDate.h"
#include "astro/TerrestrialTime.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>

namespace {

constexpr double kSecond = 1.0 / 86400;

double Jd(int y, int mo, int d, int h = 0, int mi = 0, double s = 0) {
    return JulianDate(y, mo, d, h + mi / 60.0 + s / 3600.0);
}

EphemerisReader& Reader() {
    static EphemerisReader reader;
    if (!reader.isOpen()) reader.open(SOLVANE_TEST_CHEBY, nullptr);
    return reader;
}

// Dallas, Texas.
const EclipseHome kDallas = {32.7767, -96.7970, 0};

// The one eclipse of `kind` whose greatest eclipse lies within two days of `day`.
Eclipse OnlyEclipseNear(double day, EclipseKind kind) {
    std::vector<Eclipse> found;
    for (const Eclipse& e : FindEclipses(Reader(), day - 2, day + 2, kDallas)) {
        if (e.kind == kind) found.push_back(e);
    }
    EXPECT_EQ(found.size(), 1u);
    return found.empty() ? Eclipse{} : found.front();
}

TEST(TerrestrialTime, PinnedTableIsTheLeapSecondsFile) {
    std::ifstream file(std::string(SOLVANE_TEST_SOURCE_DIR) + "/data/leap-seconds.list");
    ASSERT_TRUE(file.good());
    const LeapSecondTable table = PinnedLeapSeconds();
    int row = 0;
    long long expires = 0;
    for (std::string line; std::getline(file, line);) {
        if (line.rfind("#@", 0) == 0) expires = std::stoll(line.substr(2));
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        long long ntp = 0;
        int seconds = 0;
        fields >> ntp >> seconds;
        ASSERT_LT(row, table.count);
        EXPECT_EQ(table.steps[row].ntpSeconds, ntp) << line;
        EXPECT_EQ(table.steps[row].seconds, seconds) << line;
        ++row;
    }
    EXPECT_EQ(row, table.count);
    EXPECT_EQ(table.expiresNtpSeconds, expires);
}

TEST(TerrestrialTime, LeapSecondsDeltaTAndTheJoin) {
    EXPECT_EQ(TaiMinusUtc(Jd(1971, 12, 31, 23, 59, 59)), 0);
    EXPECT_EQ(TaiMinusUtc(Jd(1972, 1, 1)), 10);
    EXPECT_EQ(TaiMinusUtc(Jd(2016, 12, 31, 23, 59, 59)), 36);
    EXPECT_EQ(TaiMinusUtc(Jd(2017, 1, 1)), 37);
    EXPECT_DOUBLE_EQ(TerrestrialMinusUniversal(Jd(2024, 4, 8)), 69.184);
    // Delta-T at 1965.0, measured: 35.73 s (Espenak and Meeus's table of historical values).
    EXPECT_NEAR(TerrestrialMinusUniversal(Jd(1965, 1, 1)), 35.73, 0.3);
    // The join does not jump by more than 0.1 s; past the list's expiry UTC keeps its offset.
    EXPECT_NEAR(TerrestrialMinusUniversal(Jd(1972, 1, 1) - kSecond),
                TerrestrialMinusUniversal(Jd(1972, 1, 1)), 0.1);
    EXPECT_DOUBLE_EQ(TerrestrialMinusUniversal(Jd(2059, 6, 1)), 69.184);
    for (double utc : {Jd(1961, 3, 1), Jd(2017, 1, 1, 0, 0, 0.5), Jd(2040, 1, 1)}) {
        EXPECT_NEAR(UniversalTimeOf(TerrestrialTimeOf(utc)), utc, 1e-3 * kSecond);
    }
}

// Solar eclipses: greatest eclipse (TD), type, magnitude and gamma from the NASA Five
// Millennium Canon of Solar Eclipses (Espenak and Meeus, 2006), eclipse.gsfc.nasa.gov.
TEST(Eclipses, SolarAgainstTheCanon) {
    struct Case {
        int y, mo, d, h, mi, s;  // greatest eclipse, TD
        EclipseType type;
        double magnitude, gamma;
    } cases[] = {
        {2001, 6, 21, 12, 4, 46, EclipseType::kTotal, 1.0495, -0.5701},
        {2005, 4, 8, 20, 36, 51, EclipseType::kHybrid, 1.0074, -0.3473},
        {2006, 3, 29, 10, 12, 23, EclipseType::kTotal, 1.0515, 0.3843},
        {2013, 11, 3, 12, 47, 36, EclipseType::kHybrid, 1.0159, 0.3272},
        {2014, 4, 29, 6, 4, 33, EclipseType::kAnnular, 0.9868, -1.0000},  // not central
        {2017, 8, 21, 18, 26, 40, EclipseType::kTotal, 1.0306, 0.4367},
        {2018, 2, 15, 20, 52, 33, EclipseType::kPartial, 0.5991, -1.2117},
        {2019, 7, 2, 19, 24, 7, EclipseType::kTotal, 1.0459, -0.6466},
        {2020, 6, 21, 6, 41, 15, EclipseType::kAnnular, 0.9940, 0.1209},
        {2021, 12, 4, 7, 34, 38, EclipseType::kTotal, 1.0367, -0.9526},
        {2022, 10, 25, 11, 1, 20, EclipseType::kPartial, 0.8619, 1.0701},
        {2023, 4, 20, 4, 17, 56, EclipseType::kHybrid, 1.0132, -0.3952},
        {2023, 10, 14, 18, 0, 41, EclipseType::kAnnular, 0.9520, 0.3753},
        {2024, 4, 8, 18, 18, 29, EclipseType::kTotal, 1.0566, 0.3431},
        {2025, 3, 29, 10, 48, 36, EclipseType::kPartial, 0.9376, 1.0405},
        {2027, 8, 2, 10, 7, 50, EclipseType::kTotal, 1.0790, 0.1421},
        {2030, 6, 1, 6, 29, 13, EclipseType::kAnnular, 0.9443, 0.5626},
        {2043, 4, 9, 18, 57, 49, EclipseType::kTotal, 1.0095, 1.0031},     // not central
        {2043, 10, 3, 3, 1, 49, EclipseType::kAnnular, 0.9497, -1.0102},  // not central
    };
    for (const Case& c : cases) {
        const double greatestTd = Jd(c.y, c.mo, c.d, c.h, c.mi, c.s);
        const Eclipse e = OnlyEclipseNear(greatestTd, EclipseKind::kSolar);
        SCOPED_TRACE(testing::Message() << c.y << "-" << c.mo << "-" << c.d);
        EXPECT_NEAR(TerrestrialTimeOf(e.greatestUtcJd), greatestTd, 30 * kSecond);
        EXPECT_STREQ(EclipseTypeName(e.type), EclipseTypeName(c.type));
        EXPECT_NEAR(e.magnitude, c.magnitude, 0.005);
        EXPECT_NEAR(e.gamma, c.gamma, 0.001);
    }
}

// Lunar eclipses: greatest eclipse (UT), type, magnitudes and gamma from NASA's lunar eclipse
// pages (Espenak, eclipse.gsfc.nasa.gov; the Five Millennium Canon of Lunar Eclipses).
TEST(Eclipses, LunarAgainstTheCanon) {
    struct Case {
        int y, mo, d, h, mi, s;  // greatest eclipse, UT
        EclipseType type;
        double umbral, penumbral, gamma;
    } cases[] = {
        {2018, 7, 27, 20, 21, 44, EclipseType::kTotal, 1.6085, 2.6792, 0.1168},
        {2021, 5, 26, 11, 18, 43, EclipseType::kTotal, 1.0095, 1.9540, 0.4774},
        {2022, 11, 8, 10, 59, 11, EclipseType::kTotal, 1.3589, 2.4158, 0.2570},
        {2023, 5, 5, 17, 22, 53, EclipseType::kPenumbral, -0.0460, 0.9644, -1.0350},
        {2023, 10, 28, 20, 14, 5, EclipseType::kPartial, 0.1220, 1.1178, 0.9472},
        {2024, 9, 18, 2, 44, 13, EclipseType::kPartial, 0.0850, 1.0370, -0.9792},
        {2025, 3, 14, 6, 58, 43, EclipseType::kTotal, 1.1784, 2.2595, 0.3484},
    };
    for (const Case& c : cases) {
        const double greatest = Jd(c.y, c.mo, c.d, c.h, c.mi, c.s);
        const Eclipse e = OnlyEclipseNear(greatest, EclipseKind::kLunar);
        SCOPED_TRACE(testing::Message() << c.y << "-" << c.mo << "-" << c.d);
        EXPECT_NEAR(e.greatestUtcJd, greatest, 30 * kSecond);
        EXPECT_STREQ(EclipseTypeName(e.type), EclipseTypeName(c.type));
        EXPECT_NEAR(e.umbralMagnitude, c.umbral, 0.01);
        EXPECT_NEAR(e.penumbralMagnitude, c.penumbral, 0.01);
        EXPECT_NEAR(e.gamma, c.gamma, 0.001);
    }
}

// 2018 to 2025: 18 solar (3, 3, 2, 2, 2, 2, 2, 2 a year) and 18 lunar eclipses (2, 2, 4 in
// 2020, then 2 a year), as the NASA catalogues list them; in time order.
TEST(Eclipses, EveryEclipseOfEightYears) {
    const std::vector<Eclipse> all = FindEclipses(Reader(), Jd(2018, 1, 1), Jd(2026, 1, 1), kDallas);
    int solar = 0, lunar = 0;
    for (std::size_t i = 0; i < all.size(); ++i) {
        (all[i].kind == EclipseKind::kSolar ? solar : lunar)++;
        if (i > 0) {
            EXPECT_LT(all[i - 1].greatestUtcJd, all[i].greatestUtcJd);
        }
    }
    EXPECT_EQ(solar, 18);
    EXPECT_EQ(lunar, 18);
    int calls = 0;
    EXPECT_TRUE(FindEclipses(Reader(), Jd(2018, 1, 1), Jd(2026, 1, 1), kDallas, [&] {
                    return ++calls < 2;
                }).size() < 3) << "stops when asked";
}

// Dallas, 2024-04-08: NASA's table of cities gives partial 12:23, total 13:40 to 13:44,
// partial end 15:02 CDT; the seconds from an independent computation with the ephemeris
// (tools/reference/eclipse_contacts.py): 17:23:18.3, 18:40:43.2, 18:44:34.5, 20:02:41.5 UT.
TEST(Eclipses, HomeContactsAtDallasIn2024) {
    const Eclipse e = OnlyEclipseNear(Jd(2024, 4, 8, 18), EclipseKind::kSolar);
    const HomeEclipse& home = e.home;
    ASSERT_TRUE(home.visible);
    const struct {
        const char* name;
        double utc;
    } expected[] = {{"C1", Jd(2024, 4, 8, 17, 23, 18.3)}, {"C2", Jd(2024, 4, 8, 18, 40, 43.2)},
                    {"C3", Jd(2024, 4, 8, 18, 44, 34.5)}, {"C4", Jd(2024, 4, 8, 20, 2, 41.5)}};
    ASSERT_EQ(home.contacts.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_STREQ(home.contacts[i].name, expected[i].name);
        EXPECT_NEAR(home.contacts[i].utcJd, expected[i].utc, 30 * kSecond) << expected[i].name;
    }
    EXPECT_GT(home.maximumUtcJd, home.contacts[1].utcJd);
    EXPECT_LT(home.maximumUtcJd, home.contacts[2].utcJd);
    EXPECT_GT(home.magnitude, 1.0);
    EXPECT_DOUBLE_EQ(home.obscuration, 1.0);

    for (const EclipseContact& c : home.contacts) EXPECT_TRUE(c.aboveHorizon) << c.name;

    // The total lunar eclipse of 2022-11-08, with the Moon up at Dallas at greatest eclipse:
    // seen, its maximum the greatest eclipse, all six contacts, the Moon set by P4 (13:56 UT).
    const Eclipse lunar = OnlyEclipseNear(Jd(2022, 11, 8, 11), EclipseKind::kLunar);
    EXPECT_TRUE(lunar.home.visible);
    ASSERT_EQ(lunar.home.contacts.size(), 6u);
    EXPECT_TRUE(lunar.home.contacts[0].aboveHorizon);
    EXPECT_STREQ(lunar.home.contacts[5].name, "P4");
    EXPECT_FALSE(lunar.home.contacts[5].aboveHorizon);
    EXPECT_NEAR(lunar.home.maximumUtcJd, lunar.greatestUtcJd, kSecond);
}

// What the pictures draw from: both readers give the same sky; Dallas inside the umbra at its
// maximum of 2024-04-08 with the Sun up; the Moon of 2022-11-08 inside the umbra, north of the
// shadow's centre (gamma +0.257).
TEST_F(WithEphemeris, ShadowsAtTwoInstants) {
    const double dallasMaximum = Jd(2024, 4, 8, 18, 42, 39);
    const EclipseSky program = EclipseSkyAt(dallasMaximum), own = EclipseSkyAt(Reader(), dallasMaximum);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(program.sun[i], own.sun[i]);
        EXPECT_EQ(program.moon[i], own.moon[i]);
    }
    const SolarCover dallas = SolarCoverAt(own, kDallas.latitudeDeg, kDallas.longitudeDeg);
    EXPECT_TRUE(dallas.central && dallas.sunUp);
    EXPECT_DOUBLE_EQ(dallas.obscuration, 1.0);
    const SolarCover sydney = SolarCoverAt(own, -33.87, 151.21);
    EXPECT_FALSE(sydney.sunUp);
    EXPECT_EQ(sydney.magnitude, 0);

    const LunarShadow moon = LunarShadowAt(EclipseSkyAt(Reader(), Jd(2022, 11, 8, 10, 59, 11)));
    EXPECT_LT(std::hypot(moon.north, moon.east), moon.umbraRadius - moon.moonRadius);
    EXPECT_LT(moon.north, 0);
    EXPECT_NEAR(moon.penumbraRadius - moon.umbraRadius, 2 * 0.00468, 0.0002) << "the Sun's diameter";
}

}  // namespace
