// A place's calendar day in its own zone: the events of that local day, when it spans two UT
// dates, has 23 hours, or has no sunrise at all.
#include "EphemerisFixture.h"

#include "app/PlaceDay.h"

#include <cstdlib>

namespace {

ZoneRules FixedZone(int32_t offsetMinutes) {
    ZoneRules zone = UtcZoneRules();
    zone.rule.bias = -offsetMinutes;
    return zone;
}

ZoneRules Sydney() {
    ZoneRules zone = FixedZone(600);
    zone.rule.daylightBias = -60;
    zone.rule.standardDate = {0, 4, 0, 1, 3};
    zone.rule.daylightDate = {0, 10, 0, 1, 2};
    return zone;
}

// The local clock's minutes past midnight at an instant.
int ClockMinutes(const ZoneRules& zone, int64_t utc) {
    const CivilTime local = ZoneTimeAt(zone, utc).local;
    return local.hour * 60 + local.minute;
}

class PlaceDayTest : public WithEphemeris {};

TEST_F(PlaceDayTest, EventsOfTheLocalCalendarDay) {
    struct Case {
        const char* place;
        double latitude, longitude;
        ZoneRules zone;
        CivilTime utc;             // an instant of the day
        CivilTime localDate;
        int sunrise, sunset;       // the local clock's minutes, from an independent reckoning
        double hours;              // the local day's length
    } cases[] = {
        // Local days over two UT dates, east and west of Greenwich.
        {"Tokyo", 35.6895, 139.69171, FixedZone(540), {2027, 6, 21, 0, 3}, {2027, 6, 21}, 4 * 60 + 25, 19 * 60 + 0, 24},
        {"Tokyo at 23:30", 35.6895, 139.69171, FixedZone(540), {2027, 6, 21, 0, 14, 30}, {2027, 6, 21}, 4 * 60 + 25, 19 * 60 + 0, 24},
        {"Honolulu", 21.30694, -157.85834, FixedZone(-600), {2027, 12, 22, 0, 9}, {2027, 12, 21}, 7 * 60 + 4, 17 * 60 + 55, 24},
        // A sunrise or sunset close to 0h UT.
        {"Kashgar", 39.4704, 75.9898, FixedZone(480), {2027, 4, 30, 0, 6}, {2027, 4, 30}, 8 * 60 + 0, 21 * 60 + 49, 24},
        {"Chicago", 41.85003, -87.65005, FixedZone(-300), {2027, 9, 16, 0, 17}, {2027, 9, 16}, 6 * 60 + 32, 18 * 60 + 59, 24},
        // The day the clocks go forward has 23 hours.
        {"Sydney", -33.86785, 151.20732, Sydney(), {2027, 10, 3, 0, 2}, {2027, 10, 3}, 6 * 60 + 30, 18 * 60 + 58, 23},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.place);
        const PlaceDay day = PlaceDayAt(c.latitude, c.longitude, c.zone, SecondsOfUtc(c.utc));
        EXPECT_EQ(day.date.year * 10000 + day.date.month * 100 + day.date.day,
                  c.localDate.year * 10000 + c.localDate.month * 100 + c.localDate.day);
        EXPECT_EQ(day.endUtc - day.startUtc, int64_t(c.hours * 3600));
        EXPECT_EQ(ZoneTimeAt(c.zone, day.startUtc).local.hour, 0);
        ASSERT_TRUE(day.sunrise && day.sunset && day.noon && day.twilightStart && day.twilightEnd);
        EXPECT_NEAR(ClockMinutes(c.zone, *day.sunrise), c.sunrise, 3);
        EXPECT_NEAR(ClockMinutes(c.zone, *day.sunset), c.sunset, 3);
        EXPECT_LT(*day.twilightStart, *day.sunrise);
        EXPECT_LT(*day.sunrise, *day.noon);
        EXPECT_LT(*day.noon, *day.sunset);
        EXPECT_LT(*day.sunset, *day.twilightEnd);
        EXPECT_NEAR(day.dayLengthHours, (*day.sunset - *day.sunrise) / 3600.0, 1e-9);
    }
}

TEST_F(PlaceDayTest, PolarDayAndNight) {
    const ZoneRules oslo = FixedZone(60);
    const PlaceDay summer = PlaceDayAt(69.6496, 18.95508, oslo, SecondsOfUtc({2027, 6, 21, 0, 12}));
    EXPECT_FALSE(summer.sunrise || summer.sunset || summer.twilightStart || summer.twilightEnd);
    EXPECT_TRUE(summer.noon);
    EXPECT_DOUBLE_EQ(summer.dayLengthHours, 24);
    const PlaceDay winter = PlaceDayAt(69.6496, 18.95508, oslo, SecondsOfUtc({2027, 12, 21, 0, 12}));
    EXPECT_FALSE(winter.sunrise || winter.sunset);
    ASSERT_TRUE(winter.twilightStart && winter.twilightEnd) << "civil twilight about noon";
    EXPECT_LT(*winter.twilightStart, *winter.twilightEnd);
    EXPECT_DOUBLE_EQ(winter.dayLengthHours, 0);
    EXPECT_EQ(SkyLightAt(69.6496, 18.95508, SecondsOfUtc({2027, 12, 21, 0, 11})), SkyLight::Twilight);
    EXPECT_EQ(SkyLightAt(69.6496, 18.95508, SecondsOfUtc({2027, 12, 21, 0, 0})), SkyLight::Night);
}

TEST_F(PlaceDayTest, SkyLightChangesAtTheDaysEvents) {
    const PlaceDay day = PlaceDayAt(35.6895, 139.69171, FixedZone(540), SecondsOfUtc({2027, 3, 10, 0, 3}));
    ASSERT_TRUE(day.sunrise && day.sunset && day.twilightStart && day.twilightEnd);
    const struct {
        int64_t utc;
        SkyLight light;
    } cases[] = {
        {*day.twilightStart - 60, SkyLight::Night}, {*day.twilightStart + 60, SkyLight::Twilight},
        {*day.sunrise - 60, SkyLight::Twilight},    {*day.sunrise + 60, SkyLight::Day},
        {*day.sunset - 60, SkyLight::Day},          {*day.sunset + 60, SkyLight::Twilight},
        {*day.twilightEnd + 60, SkyLight::Night},
    };
    for (const auto& c : cases) EXPECT_EQ(SkyLightAt(35.6895, 139.69171, c.utc), c.light) << c.utc;
}

}  // namespace
