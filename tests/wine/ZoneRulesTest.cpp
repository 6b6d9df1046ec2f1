// Zones read from the registry, and the arithmetic of their rules against Windows' own
// conversion of the same instants; then the almanac program for a place in its zone.
#include "ProgramHarness.h"

#include "app/ZoneRules.h"
#include "app/ZoneRulesReading.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

SYSTEMTIME SystemTimeOf(const ZoneTransition& change) {
    SYSTEMTIME t = {};
    t.wYear = WORD(change.year);
    t.wMonth = WORD(change.month);
    t.wDayOfWeek = WORD(change.dayOfWeek);
    t.wDay = WORD(change.week);
    t.wHour = WORD(change.hour);
    t.wMinute = WORD(change.minute);
    t.wSecond = WORD(change.second);
    t.wMilliseconds = WORD(change.milliseconds);
    return t;
}

TIME_ZONE_INFORMATION InformationOf(const ZoneYearRule& rule) {
    TIME_ZONE_INFORMATION information = {};
    information.Bias = rule.bias;
    information.StandardBias = rule.standardBias;
    information.DaylightBias = rule.daylightBias;
    information.StandardDate = SystemTimeOf(rule.standardDate);
    information.DaylightDate = SystemTimeOf(rule.daylightDate);
    return information;
}

TEST(ZoneRulesFromTheRegistry, AgreeWithWindowsConversionIn2005And2027) {
    const char* const ids[] = {"Pacific Standard Time",     "Newfoundland Standard Time",
                               "GMT Standard Time",         "India Standard Time",
                               "Nepal Standard Time",       "AUS Eastern Standard Time",
                               "Cen. Australia Standard Time", "Chatham Islands Standard Time"};
    ZoneRulesCache cache;
    for (const char* id : ids) {
        SCOPED_TRACE(id);
        const std::shared_ptr<const ZoneRules> zone = cache.find(id);
        ASSERT_TRUE(zone);
        EXPECT_EQ(cache.find(id), zone) << "read once";
        EXPECT_FALSE(zone->standardName.empty());
        EXPECT_NE(zone->displayName.find("(UTC"), std::string::npos) << zone->displayName;
        // Windows converts by one year's TZI: the zone's rule of that year (2005 from the
        // Dynamic DST table where the zone has one).
        for (int32_t year : {2005, 2027}) {
            const TIME_ZONE_INFORMATION information = InformationOf(ZoneRuleOfYear(*zone, year));
            int daylightInstants = 0;
            const int64_t start = SecondsOfUtc({year, 1, 1, 0, 12}), end = SecondsOfUtc({year, 12, 31});
            for (int64_t quarter = start; quarter < end; quarter += 15 * 60) {
                for (int64_t t : {quarter - 1, quarter}) {
                    const CivilTime utc = UtcOfSeconds(t);
                    SYSTEMTIME utcTime = {WORD(utc.year), WORD(utc.month), WORD(utc.dayOfWeek), WORD(utc.day),
                                          WORD(utc.hour), WORD(utc.minute), WORD(utc.second), 0};
                    SYSTEMTIME local = {};
                    ASSERT_TRUE(SystemTimeToTzSpecificLocalTime(&information, &utcTime, &local));
                    const ZoneTime time = ZoneTimeAt(*zone, t);
                    const CivilTime& l = time.local;
                    ASSERT_EQ(SecondsOfUtc({l.year, l.month, l.day, 0, l.hour, l.minute, l.second}),
                              SecondsOfUtc({local.wYear, local.wMonth, local.wDay, 0, local.wHour, local.wMinute,
                                            local.wSecond}))
                        << "at " << t;
                    daylightInstants += time.daylight;
                }
            }
            EXPECT_EQ(daylightInstants > 0, information.StandardDate.wMonth != 0) << year;
        }
    }
    // 2005 kept the older United States rule: daylight time from the first Sunday of April.
    const std::shared_ptr<const ZoneRules> pacific = cache.find("Pacific Standard Time");
    EXPECT_EQ(ZoneTimeAt(*pacific, SecondsOfUtc({2005, 3, 20, 0, 12})).utcOffsetMinutes, -480);
    EXPECT_EQ(ZoneTimeAt(*pacific, SecondsOfUtc({2027, 3, 20, 0, 12})).utcOffsetMinutes, -420);
    EXPECT_FALSE(cache.find("Mars Standard Time"));
    EXPECT_FALSE(cache.find("..\\Time Zones\\Tokyo Standard Time")) << "an id is one key's name";
}

TEST(ZoneRulesFromTheRegistry, AlmanacProgramGivesAPlaceInItsZone) {
    InstallFolder folder({"solvane-almanac.exe", "cheby", "WorldPlaces.bin"});
    const std::string exe = folder.path("solvane-almanac.exe");
    // The day Sydney's clocks go forward: the offset of the instant, the events after the change.
    ConsoleRun run = RunConsoleProgram(exe, "--place \"Sydney, AU\" --utc 2027-10-02T14:30:00 --json");
    ASSERT_TRUE(run.finished);
    ASSERT_EQ(run.exitCode, 0u) << run.errors;
    EXPECT_NE(run.output.find("\"name\": \"Sydney\", "), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("\"timeZone\": \"AUS Eastern Standard Time\", \"utcOffsetMinutes\": 600, "
                              "\"localTime\": \"2027-10-03T00:30:00+10:00\""),
              std::string::npos) << run.output;
    EXPECT_NE(run.output.find("\"sunrise\": \"2027-10-03T06:"), std::string::npos) << run.output;
    run = RunConsoleProgram(exe, "--place Qwzx");
    EXPECT_EQ(run.exitCode, 2u);
    EXPECT_NE(run.errors.find("solvane-almanac: no world place is named 'Qwzx'"), std::string::npos) << run.errors;
    run = RunConsoleProgram(exe, "--zone \"Mars Standard Time\" --lat 1 --lon 2");
    EXPECT_EQ(run.exitCode, 2u);
    EXPECT_NE(run.errors.find("no time zone 'Mars Standard Time'"), std::string::npos) << run.errors;
}

}  // namespace
