#include "EphemerisFixture.h"

#include "app/UserOptions.h"
#include "app/ClockState.h"
#include "astro/EarthTilt.h"
#include "astro/FixedClock.h"
#include "astro/JulianDate.h"

namespace {

CivilTime Utc(int year, int month, int day, int hour, int minute, int second) {
    CivilTime t;
    t.year = year, t.month = month, t.day = day, t.hour = hour, t.minute = minute, t.second = second;
    return t;
}

UserOptions Home(float latitude, float longitude) {
    UserOptions options;
    SetDefaultOptions(options);
    options.homeLatitude = latitude;
    options.homeLongitude = longitude;
    return options;
}

TEST(CivilClock, LocalTimeCrossesDaysAndKeepsTheWeekday) {
    FixedClock west(Utc(2024, 3, 1, 2, 30, 15), 300);  // UTC-5
    EXPECT_EQ(west.localNow().day, 29);
    EXPECT_EQ(west.localNow().month, 2);
    EXPECT_EQ(west.localNow().hour, 21);
    EXPECT_EQ(west.localNow().second, 15);
    EXPECT_EQ(west.localNow().dayOfWeek, 4);  // Thursday 29 February 2024
    EXPECT_EQ(west.utcNow().dayOfWeek, 5);
    FixedClock east(Utc(2024, 12, 31, 20, 0, 0), -330);  // UTC+5:30
    EXPECT_EQ(east.localNow().year, 2025);
    EXPECT_EQ(east.localNow().day, 1);
    EXPECT_EQ(east.localNow().hour, 1);
    EXPECT_EQ(east.localNow().minute, 30);
}

TEST_F(WithEphemeris, UpdateFillsTheRecordFromTheClock) {
    AstroState state = {};
    UserOptions options = Home(28.55f, -81.38f);
    FixedClock clock(Utc(2025, 6, 21, 16, 45, 30), 240);
    UpdateAstroState(state, options, clock, true);
    EXPECT_EQ(state.utcHour, 16);
    EXPECT_EQ(state.localHour, 12);
    EXPECT_EQ(state.localDayOfWeek, 6);  // Saturday
    EXPECT_DOUBLE_EQ(state.julianDate, JulianDate(2025, 6, 21, 16 + 45 / 60.0 + 30 / 3600.0));
    double gst, mean, trueObliquity, eqeq, dpsi, deps;
    EarthTilt(state.julianDate, &mean, &trueObliquity, &eqeq, &dpsi, &deps);
    SiderealTime(state.julianDate, 0, eqeq, &gst);
    EXPECT_EQ(state.greenwichSiderealTime, gst);
    EXPECT_EQ(state.equationOfEquinoxes, eqeq);
    // Orlando in June: sunrise about 10:25 UT, sunset about 00:25 UT (of the next UT day).
    EXPECT_NEAR(state.sunrise, 10.44, 0.1);
    EXPECT_NEAR(state.sunset, 0.44, 0.1);
    EXPECT_NEAR(state.localNoon, 17.43, 0.1);
    EXPECT_LT(state.twilightStart, state.sunrise);
}

TEST_F(WithEphemeris, EventsFollowTheLocalDateOrAForcedUpdate) {
    AstroState state = {};
    UserOptions options = Home(28.55f, -81.38f);
    FixedClock morning(Utc(2025, 6, 21, 12, 0, 0), 240);
    UpdateAstroState(state, options, morning, false);  // the first update always computes
    const double orlandoSunrise = state.sunrise;
    EXPECT_GT(orlandoSunrise, 9);

    options = Home(51.48f, 0.0f);
    FixedClock evening(Utc(2025, 6, 21, 23, 30, 0), 240);  // same local date, 19:30
    UpdateAstroState(state, options, evening, false);
    EXPECT_EQ(state.sunrise, orlandoSunrise);
    UpdateAstroState(state, options, evening, true);
    EXPECT_NEAR(state.sunrise, 3.72, 0.05);  // London

    // Local midnight: UTC still on the 22nd, the events move to the new local date.
    const double june22 = state.sunrise;
    FixedClock afterMidnight(Utc(2025, 6, 22, 4, 0, 1), 240);  // 00:00:01 on the 22nd
    UpdateAstroState(state, options, afterMidnight, false);
    EXPECT_EQ(state.localDay, 22);
    EXPECT_NE(state.sunrise, june22);
}

TEST_F(WithEphemeris, JulianDateIgnoresFractionsOfASecond) {
    AstroState a = {}, b = {};
    UserOptions options = Home(0, 0);
    FixedClock clock(Utc(2030, 1, 1, 0, 0, 59), 0);
    UpdateAstroState(a, options, clock, true);
    UpdateAstroState(b, options, clock, false);
    EXPECT_EQ(a.julianDate, b.julianDate);
    EXPECT_NEAR(a.julianDate, 2462502.5 + 59 / 86400.0, 1e-9);
}

}  // namespace
