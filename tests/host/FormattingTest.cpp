#include "app/Formatting.h"

#include "app/UserOptions.h"
#include "astro/AstroState.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <thread>

namespace {

UserOptions Options(uint32_t flags) {
    UserOptions options;
    SetDefaultOptions(options);
    options.displayFlags = flags;
    return options;
}

const UserOptions kTwelveHour = Options(0);
const UserOptions kTwentyFourHour = Options(kLocalTime24Hour);
const UserOptions kDms = Options(kDegreesMinutesSeconds);

TEST(FormatEventTime, MarkersRoundingAndClockForms) {
    struct Case { double hours; const UserOptions* options; const char* text; };
    const Case cases[] = {
        {-1000, &kTwelveHour, "Never"},    {1000, &kTwelveHour, "Always"},
        {-50.5, &kTwentyFourHour, "Never"}, {50.5, &kTwentyFourHour, "Always"},
        {-0.25, &kTwentyFourHour, "23:45"}, {23.9999, &kTwentyFourHour, "00:00"},
        {24.0, &kTwentyFourHour, "00:00"},  {25.5, &kTwentyFourHour, "01:30"},
        {12.5, &kTwelveHour, "12:30 p.m."}, {0.5, &kTwelveHour, "00:30 a.m."},
        {13.0083, &kTwelveHour, "01:00 p.m."}, {11.9999, &kTwelveHour, "12:00 p.m."},
        {6.0083, &kTwentyFourHour, "06:00"}, {6.0084, &kTwentyFourHour, "06:01"},
        {18.75, &kTwelveHour, "06:45 p.m."},
    };
    for (const Case& c : cases) EXPECT_EQ(FormatEventTime(c.hours, *c.options), c.text) << c.hours;
}

TEST(SplitDegrees, RoundsToTheNearestSecond) {
    struct Case { double degrees; int d, m, s; };
    const Case cases[] = {
        {10.99999, 11, 0, 0}, {28.55, 28, 33, 0},   {-81.38, -81, 22, 48},
        {0.0001, 0, 0, 0},    {-0.0001, 0, 0, 0},   {45.5125, 45, 30, 45},
        {179.999999, 180, 0, 0},
    };
    for (const Case& c : cases) {
        const DegreesMinutesSeconds dms = SplitDegrees(c.degrees);
        EXPECT_EQ(dms.degrees, c.d) << c.degrees;
        EXPECT_EQ(dms.minutes, c.m) << c.degrees;
        EXPECT_EQ(dms.seconds, c.s) << c.degrees;
    }
    EXPECT_DOUBLE_EQ(DmsToDegrees(81, 22, 48), 81.38);
    EXPECT_DOUBLE_EQ(DmsToDegrees(-81, 22, 48), -81 + 22 / 60.0 + 48 / 3600.0);
}

TEST(FormatCoordinates, BothFormsWithHemispheres) {
    EXPECT_EQ(FormatLatitude(28.55, kTwelveHour), "28.550 N");
    EXPECT_EQ(FormatLongitude(-81.38, kTwelveHour), "81.380 W");
    EXPECT_EQ(FormatLatitude(28.55, kDms), "28\xB0 33' 00\" N");
    EXPECT_EQ(FormatLongitude(-81.38, kDms), "81\xB0 22' 48\" W");
    EXPECT_EQ(FormatLatitude(-0.0001, kDms), "00\xB0 00' 00\" S");
    EXPECT_EQ(FormatLongitude(0.0, kTwelveHour), "0.000 E");
    EXPECT_EQ(FormatLongitude(151.2093, kDms), "151\xB0 12' 33\" E");
}

AstroState State() {
    AstroState s = {};
    s.localYear = 2003, s.localMonth = 3, s.localDay = 5;
    s.localHour = 19, s.localMinute = 4, s.localSecond = 9;
    s.utcYear = 2003, s.utcMonth = 3, s.utcDay = 6;
    s.utcHour = 0, s.utcMinute = 4, s.utcSecond = 9;
    s.greenwichSiderealTime = 2.0;
    return s;
}

TEST(FormatDateTimes, TwelveAndTwentyFourHourForms) {
    AstroState s = State();
    EXPECT_EQ(FormatLocalDateTime(s, kTwelveHour), "March 5, 2003 07:04:09 PM ");
    EXPECT_EQ(FormatLocalDateTime(s, kTwentyFourHour), "March 5, 2003 19:04:09");
    EXPECT_EQ(FormatUtcDateTime(s), "March 6, 2003 00:04:09 UTC");
    s.localHour = 0;
    EXPECT_EQ(FormatLocalDateTime(s, kTwelveHour), "March 5, 2003 12:04:09 AM ");
    s.localHour = 12;
    EXPECT_EQ(FormatLocalDateTime(s, kTwelveHour), "March 5, 2003 12:04:09 PM ");
    s.localHour = 13;
    EXPECT_EQ(FormatLocalDateTime(s, kTwelveHour), "March 5, 2003 01:04:09 PM ");
    s.localMonth = 13;
    EXPECT_EQ(FormatLocalDateTime(s, kTwentyFourHour), "(null) 5, 2003 13:04:09");
}

// An options record is used as stored: a home that is not a number, or far off the Earth,
// still gives texts (and no undefined conversions).
TEST(Formatting, ValuesThatAreNotNumbersOrTooLarge) {
    const double nan = std::nan(""), huge = 3.4e38;
    for (double x : {nan, huge, -huge, 1e6, std::numeric_limits<double>::infinity()}) {
        const DegreesMinutesSeconds dms = SplitDegrees(x);
        EXPECT_EQ(dms.degrees, 0) << x;
        EXPECT_EQ(dms.minutes, 0) << x;
        EXPECT_EQ(dms.seconds, 0) << x;
    }
    EXPECT_EQ(SplitDegrees(999999.5).degrees, 999999);
    EXPECT_EQ(FormatLatitude(nan, kDms), "00\xB0 00' 00\" S");
    EXPECT_EQ(FormatLongitude(-huge, kDms), "00\xB0 00' 00\" W");
    EXPECT_EQ(FormatEventTime(nan, kTwelveHour), "Never");
    AstroState s = State();
    UserOptions options = kTwelveHour;
    options.homeLongitude = std::nanf("");
    EXPECT_EQ(FormatLocalSidereal(s, options), "--:--:--");
    options.homeLongitude = 3.4e38f;
    EXPECT_EQ(FormatLocalSidereal(s, options), "--:--:--");
    s.greenwichSiderealTime = nan;
    EXPECT_EQ(FormatGreenwichSidereal(s), "--:--:--");
}

TEST(FormatSidereal, TruncatesSecondsAndWrapsLocalTime) {
    AstroState s = State();
    UserOptions options = kTwelveHour;
    options.homeLongitude = -81.38f;
    EXPECT_EQ(FormatGreenwichSidereal(s), "02:00:00");
    EXPECT_EQ(FormatLocalSidereal(s, options), "20:34:28");
    s.greenwichSiderealTime = 23.99999;
    EXPECT_EQ(FormatGreenwichSidereal(s), "23:59:59");
    options.homeLongitude = 15.0f;
    EXPECT_EQ(FormatLocalSidereal(s, options), "00:59:59");
}

TEST(MonthNames, RangeAndThreads) {
    EXPECT_EQ(MonthName(1), "January");
    EXPECT_EQ(MonthAbbreviation(12), "Dec");
    EXPECT_EQ(MonthName(0), "");
    EXPECT_EQ(MonthAbbreviation(13), "");
    std::string fromOtherThread;
    std::thread other([&] {
        for (int i = 0; i < 1000; ++i) fromOtherThread = MonthAbbreviation(1 + i % 12);
    });
    for (int i = 0; i < 1000; ++i) ASSERT_EQ(MonthAbbreviation(5), "May");
    other.join();
    EXPECT_EQ(fromOtherThread, "Apr");
}

}  // namespace
