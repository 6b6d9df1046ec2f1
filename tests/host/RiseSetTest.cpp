// Sunrise, sunset, twilight and noon against an independent search for the instants the
// apparent Sun crosses the same altitude (bisection on ERFA-reduced DE405 positions,
// tools/reference/make_tables.py), and the polar markers.
#include "EphemerisFixture.h"

#include "astro/RiseSet.h"

#include <cmath>
#include <vector>

namespace {

// Crossings of the altitude found by the independent search, hours from 0h UT of the date
// (within -12 h to +36 h): sunrise, sunset, then twilight start and end.
struct EventRow {
    int year, month, day;
    double latitude, longitude;  // degrees, east positive
    std::vector<double> rises, sets, twilightStarts, twilightEnds;
};

const EventRow kEvents[] = {
    {2024, 3, 20, 28.55, -81.38, {11.478966951, 35.459680662}, {-0.389196172, 23.620186239}, {11.086873233, 35.067466691}, {0.003318787, 24.012810230}},
    {2024, 6, 21, 28.55, -81.38, {10.476470321, 34.480392627}, {0.436225556, 24.439620674}, {10.027516901, 34.031471506}, {0.885179847, 24.888544790}},
    {2024, 12, 21, 28.55, -81.38, {-11.772748098, 12.235657766}, {-1.446600258, 22.561696060}, {11.803062670, 35.811164998}, {-1.014010347, 22.994290441}},
    {2024, 3, 21, 0.00, 0.00, {6.062469609, 30.057471648}, {-5.823954329, 18.171069346}, {5.718086578, 29.713062644}, {-5.479577713, 18.515464313}},
    {2025, 6, 21, 51.48, 0.00, {3.712549455, 27.716653436}, {-3.654412575, 20.349042960}, {2.917321041, 26.921504796}, {-2.859183602, 21.144187488}},
    {2025, 1, 15, -33.87, 151.21, {-5.004921287, 19.010929026}, {9.148860052, 33.144323118}, {-5.477052815, 18.539850935}, {9.619936600, 33.614320435}},
    {2024, 6, 21, 34.05, -118.24, {-11.301238038, 12.702428967}, {3.125696450, 27.128993176}, {-11.788751587, 12.214914344}, {3.613211565, 27.616463497}},
    {2024, 6, 21, 62.00, 25.00, {0.489207208, 24.494079843}, {-3.762664385, 20.240005039}, {}, {}},
    {2023, 9, 1, 64.84, -147.72, {-9.537306525, 14.513607256}, {5.207945220, 29.146732025}, {-10.466403946, 13.593013532}, {6.126827762, 30.057497889}},
    {1975, 11, 3, 40.70, -74.00, {11.467205107, 35.486801974}, {-2.136066131, 21.844250411}, {10.992014855, 35.010548271}, {-1.662208356, 22.319166295}},
    {2055, 2, 10, -54.80, -68.30, {9.269379526, 33.305309862}, {0.321342587, 24.285868987}, {8.570132777, 32.610746987}, {1.020008549, 24.979832008}},
};

constexpr double kSecond = 1.0 / 3600;

// Distance in hours from `hours` to the nearest of the instants, modulo one day.
double NearestModuloDay(double hours, const std::vector<double>& instants) {
    double best = 1e9;
    for (double t : instants) best = std::min(best, std::fabs(std::remainder(hours - t, 24.0)));
    return best;
}

void ExpectEvent(double hours, const std::vector<double>& instants, const char* what,
                 const EventRow& row) {
    if (instants.empty()) {
        EXPECT_EQ(std::fabs(hours), kEventMarker) << what << " " << row.year << "-" << row.month;
        return;
    }
    EXPECT_GE(hours, 0.0) << what;
    EXPECT_LE(hours, 24.0) << what;
    EXPECT_LT(NearestModuloDay(hours, instants), 1.0 * kSecond)
        << what << " " << row.year << "-" << row.month << "-" << row.day << " at "
        << row.latitude << ", " << row.longitude << ": " << hours;
}

TEST_F(WithEphemeris, EventsMatchAnIndependentSearch) {
    const double toRadians = 0.017453292519943295;
    for (const EventRow& row : kEvents) {
        double rise, transit, set, start, end;
        SunEvents(row.month, row.day, row.year, row.longitude * toRadians,
                  row.latitude * toRadians, &rise, &transit, &set);
        TwilightEvents(row.month, row.day, row.year, row.longitude * toRadians,
                       row.latitude * toRadians, &start, &end);
        ExpectEvent(rise, row.rises, "sunrise", row);
        ExpectEvent(set, row.sets, "sunset", row);
        ExpectEvent(start, row.twilightStarts, "twilight start", row);
        ExpectEvent(end, row.twilightEnds, "twilight end", row);
        // Noon lies halfway between rise and set, to within the Sun's drift in declination.
        double mid = rise + std::remainder(set - rise, 24.0) / 2;
        if (std::remainder(set - rise, 24.0) < 0) mid += 12;
        EXPECT_LT(std::fabs(std::remainder(transit - mid, 24.0)), 60 * kSecond) << row.year;
    }
}

TEST_F(WithEphemeris, PolarDayAndNightGiveMarkers) {
    const double lat = 80 * 0.017453292519943295, lon = 15 * 0.017453292519943295;
    double rise, transit, set;
    SunEvents(6, 25, 2025, lon, lat, &rise, &transit, &set);
    EXPECT_EQ(rise, kEventMarker);
    EXPECT_EQ(set, -kEventMarker);
    EXPECT_NEAR(transit, 12 - 1.0, 0.05);  // noon, less the longitude in hours, less a minute or two
    SunEvents(12, 21, 2025, lon, lat, &rise, &transit, &set);
    EXPECT_EQ(rise, -kEventMarker);
    EXPECT_EQ(set, kEventMarker);
    double start, end;
    TwilightEvents(12, 21, 2025, lon, lat, &start, &end);
    EXPECT_EQ(start, -kEventMarker);
    EXPECT_EQ(end, kEventMarker);
}

TEST_F(WithEphemeris, EquinoxAtGreenwich) {
    double rise, transit, set;
    SunEvents(3, 21, 2024, 0, 0, &rise, &transit, &set);
    EXPECT_NEAR(transit, 12.1, 0.02);  // the equation of time
    EXPECT_NEAR(transit - rise, 6.06, 0.01);
    EXPECT_NEAR(set - transit, 6.06, 0.01);
}

TEST(RefineEvent, StopsOnHopelessInput) {
    const double ra[3] = {0, 0, 0}, dec[3] = {NAN, NAN, NAN};
    EventDifferences d = {0, 0, 0, 0, 0, 0};
    const double m = RefineEvent(true, 1.58, 0.25, 0, 0, ra, dec, d);
    EXPECT_TRUE(std::isnan(m));  // returned, not stuck
}

}  // namespace
