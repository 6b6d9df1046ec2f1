#include "EphemerisFixture.h"

#include "astro/FixedClock.h"
#include "astro/JulianDate.h"
#include "astro/MoonPhase.h"

#include <cmath>

namespace {

TEST(PhaseTime, MeeusExample49a) {
    // The new moon of 1977 February: JDE 2443192.65118.
    EXPECT_NEAR(PhaseTime(2443170.0, kNewMoon), 2443192.65118, 2e-5);
}

TEST(PhaseTime, NewMoonIsTheNextLunationsOthersTheCurrent) {
    const double newMoon = PhaseTime(2460300.0, kNewMoon);
    const double next = PhaseTime(newMoon + 0.5, kNewMoon);
    EXPECT_NEAR(next - newMoon, 29.53, 0.3);
    const double full = PhaseTime(newMoon + 0.5, kFullMoon);
    EXPECT_NEAR(full - newMoon, 14.77, 1.0);
    const double first = PhaseTime(newMoon + 0.5, kFirstQuarter);
    const double last = PhaseTime(newMoon + 0.5, kLastQuarter);
    EXPECT_LT(newMoon, first);
    EXPECT_LT(first, full);
    EXPECT_LT(full, last);
    EXPECT_LT(last, next);
}

// Every three hours of two years: the last principal phase before the date, then the three
// after it, in order and one quarter apart.
TEST(UpdatePhaseTable, TheLastEventBeforeTheDateAndTheThreeAfterIt) {
    for (double jd = 2461041.5; jd < 2461041.5 + 730; jd += 0.125) {
        PhaseTable table;
        UpdatePhaseTable(jd, &table);
        const PhaseEvent* e = table.entries;
        ASSERT_LT(e[0].julianDate, jd) << std::fixed << jd;
        ASSERT_GE(e[1].julianDate, jd) << std::fixed << jd;
        for (int i = 1; i < 4; ++i) {
            ASSERT_EQ(e[i].phase, (e[i - 1].phase + 1) % 4) << std::fixed << jd;
            const double gap = e[i].julianDate - e[i - 1].julianDate;
            ASSERT_TRUE(gap > 5.5 && gap < 9) << std::fixed << jd << " gap " << gap;
        }
    }
    // Ten minutes after the new Moon of 2026-09-11 (03:27 UT): it starts the table.
    PhaseTable table;
    UpdatePhaseTable(2461294.656, &table);
    EXPECT_EQ(table.entries[0].phase, kNewMoon);
    EXPECT_EQ(table.entries[1].phase, kFirstQuarter);
    // Exactly at an event the event is not before the date: the table starts one earlier.
    const double full = PhaseTime(2461300.0, kFullMoon);
    UpdatePhaseTable(full, &table);
    EXPECT_EQ(table.entries[0].phase, kFirstQuarter);
    EXPECT_EQ(table.entries[1].julianDate, full);
}

TEST_F(WithEphemeris, IlluminationAndPhaseAngleAroundALunation) {
    const double newMoon = PhaseTime(2460300.0, kNewMoon);
    const double full = PhaseTime(newMoon + 0.5, kFullMoon);
    EXPECT_LT(MoonIllumination(newMoon), 0.5);
    EXPECT_GT(MoonIllumination(full), 99.5);
    EXPECT_NEAR(MoonPhaseAngle(full), 0, 5);
    EXPECT_GT(std::fabs(MoonPhaseAngle(newMoon)), 170);  // short of 180 by the Moon's latitude
    // The sign flips at new moon, passing +-180.
    EXPECT_LT(MoonPhaseAngle(newMoon - 1) * MoonPhaseAngle(newMoon + 1), 0);
    for (double jd = newMoon; jd < newMoon + 30; jd += 0.37) {
        const double percent = MoonIllumination(jd);
        EXPECT_GE(percent, 0);
        EXPECT_LE(percent, 100);
        const double angle = MoonPhaseAngle(jd);
        EXPECT_GE(angle, -180);
        EXPECT_LE(angle, 180);
    }
}

TEST(PhaseName, NamesAndBitmaps) {
    int id = 0;
    EXPECT_STREQ(PhaseName(0, &id), "New Moon");
    EXPECT_EQ(id, 131);
    EXPECT_STREQ(PhaseName(2, &id), "Full Moon");
    EXPECT_EQ(id, 133);
    EXPECT_STREQ(PhaseName(7, &id), "Last Quarter");
    EXPECT_EQ(id, 134);
    EXPECT_STREQ(PhaseName(-1, &id), "Last Quarter");
}

TEST(PhaseDateLabel, MonthAndDayOfTheCalendarDate) {
    EXPECT_EQ(PhaseDateLabel(2451545.0), "Jan 1");
    EXPECT_EQ(PhaseDateLabel(2451544.49), "Dec 31");  // before midnight, no time-zone shift
    EXPECT_EQ(PhaseDateLabel(JulianDate(2026, 12, 8, 23.9)), "Dec 8");
}

}  // namespace

#include "app/PhaseDate.h"
#include "app/UserOptions.h"
#include "astro/AstroState.h"
#include "platform/RecursiveLock.h"

namespace {

TEST_F(WithEphemeris, PreparePhaseDateUsesNowForTheTableAndNoonForTheAngle) {
    UserOptions options;
    SetDefaultOptions(options);
    CivilTime now;
    now.year = 2026, now.month = 12, now.day = 8, now.hour = 14;
    FixedClock clock(now, 300);
    AstroState state = {};
    RecursiveLock lock;
    PhaseTable table;
    PhaseSelection selection;
    selection.lightPosition[2] = 7;
    PreparePhaseDate(2027, 1, 15, state, options, clock, lock, &table, &selection);
    EXPECT_EQ(state.utcDay, 8);
    PhaseTable expected;
    UpdatePhaseTable(state.julianDate, &expected);
    EXPECT_EQ(table.entries[0].julianDate, expected.entries[0].julianDate);
    const double noon = JulianDate(2027, 1, 15, 12.0);
    EXPECT_EQ(selection.julianDay, 2461421);
    EXPECT_DOUBLE_EQ(selection.julianDay + selection.dayFraction, noon);
    EXPECT_DOUBLE_EQ(selection.phaseAngle, MoonPhaseAngle(noon));
    EXPECT_EQ(selection.lightPosition[2], 1.0f);
}

}  // namespace
