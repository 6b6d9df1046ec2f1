// The details pane's day in the home's named zone: local clock times of the events by the
// zone's own rules (on the day of a clock change too), the standard or daylight name of now,
// and the Sun staying up or down all day.
#include "app/PlaceDay.h"
#include "app/ZoneRules.h"
#include "desktop/HomeZoneDay.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

// Sydney's rules: UTC+10, daylight time (+11) from the first Sunday of October, 02:00, to the
// first Sunday of April, 03:00.
ZoneRules Sydney() {
    ZoneRules zone;
    zone.windowsId = "AUS Eastern Standard Time";
    zone.standardName = "AUS Eastern Standard Time";
    zone.daylightName = "AUS Eastern Daylight Time";
    zone.rule.bias = -600;
    zone.rule.daylightBias = -60;
    zone.rule.standardDate.month = 4, zone.rule.standardDate.week = 1, zone.rule.standardDate.hour = 3;
    zone.rule.daylightDate.month = 10, zone.rule.daylightDate.week = 1, zone.rule.daylightDate.hour = 2;
    return zone;
}

int64_t Utc(int year, int month, int day, int hour, int minute) {
    CivilTime t;
    t.year = year, t.month = month, t.day = day, t.hour = hour, t.minute = minute;
    return SecondsOfUtc(t);
}

TEST(HomeZoneDay, EventsInTheHomesClockAndItsZonesName) {
    struct Row {
        int64_t now, sunrise;
        int localDay, localHour;
        double sunriseHours;
    };
    const Row rows[] = {
        {Utc(2026, 12, 8, 14, 0), Utc(2026, 12, 8, 18, 40), 9, 1, 5 + 40 / 60.0},  // UTC+11, a day ahead of UTC
        // The clocks went forward at 02:00: sunrise 5.5 hours after midnight reads 06:30.
        {Utc(2026, 10, 4, 1, 0), Utc(2026, 10, 3, 19, 30), 4, 12, 6.5},
    };
    for (const Row& row : rows) {
        PlaceDay day;
        day.sunrise = day.noon = row.sunrise;
        const HomeZoneDay home = HomeZoneDayOf(day, Sydney(), row.now);
        EXPECT_EQ(home.local.day, row.localDay) << row.now;
        EXPECT_EQ(home.local.hour, row.localHour) << row.now;
        EXPECT_EQ(home.zoneName, "AUS Eastern Daylight Time") << row.now;
        EXPECT_NEAR(home.sunrise, row.sunriseHours, 1e-9) << row.now;
        EXPECT_NEAR(home.noon, row.sunriseHours, 1e-9) << row.now;
    }
    EXPECT_EQ(HomeZoneDayOf(PlaceDay(), Sydney(), Utc(2026, 6, 15, 2, 0)).zoneName, "AUS Eastern Standard Time");
}

TEST(HomeZoneDay, TheSunUpOrDownAllDay) {
    struct Row {
        double dayLengthHours, hoursInDay;
        bool twilight;
        double riseAndSet, twilightEnds;  // 99: "Always", -99: "Never"
    };
    const Row rows[] = {
        {23, 23, false, 99, 99},   // midsummer at the pole, on the day the clocks go forward
        {23, 25, false, -99, 99},  // the day they go back: not all of it
        {0, 24, true, -99, 0},     // a polar night with twilight at noon
    };
    for (const Row& row : rows) {
        PlaceDay day;
        day.dayLengthHours = row.dayLengthHours;
        day.endUtc = int64_t(row.hoursInDay * 3600);
        if (row.twilight) day.twilightStart = day.twilightEnd = Utc(2026, 6, 15, 14, 0);
        const HomeZoneDay home = HomeZoneDayOf(day, Sydney(), Utc(2026, 6, 15, 2, 0));
        EXPECT_EQ(home.sunrise, row.riseAndSet) << row.dayLengthHours;
        EXPECT_EQ(home.sunset, row.riseAndSet) << row.dayLengthHours;
        EXPECT_EQ(home.twilightEnd, row.twilightEnds) << row.dayLengthHours;
        EXPECT_EQ(home.noon, -99);
    }
}

}  // namespace
