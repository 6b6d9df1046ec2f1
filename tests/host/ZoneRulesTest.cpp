#include "app/ZoneRules.h"
#include "app/ZoneRulesReading.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <map>
#include <string>
#include <vector>

namespace {

// Windows' rules for zones that have kept them for years, as the registry's TZI holds them.
struct ZoneCase {
    const char* windowsId;
    const char* iana;
    ZoneYearRule rule;
};

ZoneYearRule Rule(int32_t bias, ZoneTransition standardDate = {}, ZoneTransition daylightDate = {}) {
    ZoneYearRule rule;
    rule.bias = bias;
    rule.daylightBias = standardDate.month ? -60 : 0;
    rule.standardDate = standardDate;
    rule.daylightDate = daylightDate;
    return rule;
}

// The `week`th (5: last) Sunday of `month` at hour:minute.
ZoneTransition Sunday(int32_t month, int32_t week, int32_t hour, int32_t minute = 0) {
    ZoneTransition change;
    change.month = month;
    change.week = week;
    change.hour = hour;
    change.minute = minute;
    return change;
}

const std::vector<ZoneCase>& Zones() {
    static const std::vector<ZoneCase> zones = {
        {"Pacific Standard Time", "America/Los_Angeles", Rule(480, Sunday(11, 1, 2), Sunday(3, 2, 2))},
        {"Eastern Standard Time", "America/New_York", Rule(300, Sunday(11, 1, 2), Sunday(3, 2, 2))},
        {"Newfoundland Standard Time", "America/St_Johns", Rule(210, Sunday(11, 1, 2), Sunday(3, 2, 2))},
        {"GMT Standard Time", "Europe/London", Rule(0, Sunday(10, 5, 2), Sunday(3, 5, 1))},
        {"W. Europe Standard Time", "Europe/Berlin", Rule(-60, Sunday(10, 5, 3), Sunday(3, 5, 2))},
        {"India Standard Time", "Asia/Kolkata", Rule(-330)},
        {"Nepal Standard Time", "Asia/Kathmandu", Rule(-345)},
        {"Tokyo Standard Time", "Asia/Tokyo", Rule(-540)},
        {"AUS Eastern Standard Time", "Australia/Sydney", Rule(-600, Sunday(4, 1, 3), Sunday(10, 1, 2))},
        {"Cen. Australia Standard Time", "Australia/Adelaide", Rule(-570, Sunday(4, 1, 3), Sunday(10, 1, 2))},
        {"New Zealand Standard Time", "Pacific/Auckland", Rule(-720, Sunday(4, 1, 3), Sunday(9, 5, 2))},
        {"Chatham Islands Standard Time", "Pacific/Chatham", Rule(-765, Sunday(4, 1, 3, 45), Sunday(9, 5, 2, 45))},
    };
    return zones;
}

ZoneRules ZoneOf(const ZoneCase& c) {
    ZoneRules zone;
    zone.windowsId = c.windowsId;
    zone.standardName = c.windowsId;
    zone.rule = c.rule;
    return zone;
}

// The host's own zone data: the offset (minutes east) at an instant, under TZ.
class HostZone {
public:
    explicit HostZone(const char* iana) {
        const char* previous = std::getenv("TZ");
        hadZone_ = previous != nullptr;
        if (previous) previous_ = previous;
        setenv("TZ", (std::string(":") + iana).c_str(), 1);
        tzset();
    }
    ~HostZone() {
        if (hadZone_) setenv("TZ", previous_.c_str(), 1);
        else unsetenv("TZ");
        tzset();
    }
    static int32_t offsetAt(int64_t utcSeconds, bool* daylight = nullptr) {
        const std::time_t t = std::time_t(utcSeconds);
        std::tm local = {};
        localtime_r(&t, &local);
        if (daylight) *daylight = local.tm_isdst > 0;
        return int32_t(local.tm_gmtoff / 60);
    }

private:
    bool hadZone_ = false;
    std::string previous_;
};

// Instants of 2027 to check: every five hours, and each second either side of every change.
std::vector<int64_t> InstantsOf2027() {
    std::vector<int64_t> instants;
    const int64_t start = SecondsOfUtc({2027, 1, 1}), end = SecondsOfUtc({2028, 1, 1});
    for (int64_t t = start; t < end; t += 5 * 3600) instants.push_back(t);
    for (int64_t t = start; t < end; t += 3600) {
        if (HostZone::offsetAt(t) == HostZone::offsetAt(t + 3600)) continue;
        for (int64_t s = t; s <= t + 3600; ++s) {
            if (HostZone::offsetAt(s) == HostZone::offsetAt(t)) continue;
            instants.insert(instants.end(), {s - 1, s, s + 1});
            break;
        }
    }
    return instants;
}

TEST(ZoneRules, LocalTimeAndOffsetAgreeWithTheHostsZoneDataAllOf2027) {
    for (const ZoneCase& c : Zones()) {
        SCOPED_TRACE(c.windowsId);
        const ZoneRules zone = ZoneOf(c);
        const HostZone host(c.iana);
        for (int64_t t : InstantsOf2027()) {
            bool daylight = false;
            const int32_t offset = HostZone::offsetAt(t, &daylight);
            const ZoneTime time = ZoneTimeAt(zone, t);
            ASSERT_EQ(time.utcOffsetMinutes, offset) << "at " << t;
            ASSERT_EQ(time.daylight, daylight) << "at " << t;
            ASSERT_EQ(SecondsOfUtc(time.local), t + offset * 60);
            const int64_t back = ZoneUtcOf(zone, time.local);  // in a repeated hour the first
            ASSERT_TRUE(back == t || (back == t - 3600 && ZoneTimeAt(zone, back).daylight)) << "at " << t;
        }
    }
}

TEST(ZoneRules, HostReadingGivesTheZonesOwnRules) {
    std::map<std::string, std::string, std::less<>> names;
    for (const ZoneCase& c : Zones()) names[c.windowsId] = c.iana;
    SetHostZoneNames(names);
    for (const ZoneCase& c : Zones()) {
        SCOPED_TRACE(c.windowsId);
        const std::optional<ZoneRules> read = ReadZoneRules(c.windowsId);
        ASSERT_TRUE(read);
        EXPECT_EQ(read->standardName, c.windowsId);
        const ZoneRules zone = ZoneOf(c);
        for (int64_t t = SecondsOfUtc({2026, 1, 1}); t < SecondsOfUtc({2029, 1, 1}); t += 3 * 3600) {
            ASSERT_EQ(ZoneTimeAt(*read, t).utcOffsetMinutes, ZoneTimeAt(zone, t).utcOffsetMinutes) << "at " << t;
        }
    }
    EXPECT_FALSE(ReadZoneRules("Mars Standard Time"));
    SetHostZoneNames({{"Nowhere Standard Time", "Nowhere/Atlantis"}});
    EXPECT_FALSE(ReadZoneRules("Nowhere Standard Time")) << "a zone the host lacks";
    EXPECT_FALSE(ReadZoneRules("Tokyo Standard Time")) << "forgotten with the names";
    SetHostZoneNames({});
}

// Around a change the local clock skips or repeats times; both read as the contract says.
TEST(ZoneRules, SkippedAndRepeatedLocalTimes) {
    struct Case {
        const char* windowsId;
        CivilTime local;
        CivilTime utc;
    } cases[] = {
        {"Pacific Standard Time", {2027, 3, 14, 0, 2, 30}, {2027, 3, 14, 0, 10, 30}},  // skipped: as PST
        {"Pacific Standard Time", {2027, 11, 7, 0, 1, 30}, {2027, 11, 7, 0, 8, 30}},   // repeated: PDT's
        {"AUS Eastern Standard Time", {2027, 10, 3, 0, 2, 15}, {2027, 10, 2, 0, 16, 15}},
        {"AUS Eastern Standard Time", {2027, 4, 4, 0, 2, 30}, {2027, 4, 3, 0, 15, 30}},
        {"Chatham Islands Standard Time", {2027, 9, 26, 0, 3, 0}, {2027, 9, 25, 0, 14, 15}},
        {"Chatham Islands Standard Time", {2027, 4, 4, 0, 3, 0}, {2027, 4, 3, 0, 13, 15}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.windowsId);
        for (const ZoneCase& z : Zones()) {
            if (std::string(z.windowsId) != c.windowsId) continue;
            EXPECT_EQ(ZoneUtcOf(ZoneOf(z), c.local), SecondsOfUtc(c.utc));
        }
    }
}

TEST(ZoneRules, YearsOfTheDynamicTableAndUtc) {
    ZoneRules zone;
    zone.standardName = "Standard";
    zone.daylightName = "Daylight";
    zone.rule = Rule(-120);
    zone.firstYear = 2020;
    zone.lastYear = 2021;
    zone.years = {Rule(-180), Rule(-60, Sunday(10, 5, 3), Sunday(3, 5, 2))};
    EXPECT_EQ(ZoneTimeAt(zone, SecondsOfUtc({2019, 7, 1})).utcOffsetMinutes, 180) << "before: the first year's";
    EXPECT_EQ(ZoneTimeAt(zone, SecondsOfUtc({2020, 7, 1})).utcOffsetMinutes, 180);
    const ZoneTime summer = ZoneTimeAt(zone, SecondsOfUtc({2030, 7, 1}));
    EXPECT_EQ(summer.utcOffsetMinutes, 120) << "after: the last year's";
    EXPECT_EQ(ZoneNameAt(zone, summer.daylight), "Daylight");
    EXPECT_EQ(ZoneNameAt(zone, false), "Standard");

    // A change given as a date (year != 0: `week` is the day of the month), at 23:59:59.999.
    zone.years[1].daylightDate = {2021, 4, 0, 10, 23, 59, 59, 999};
    EXPECT_FALSE(ZoneTimeAt(zone, SecondsOfUtc({2021, 4, 10, 0, 22, 59, 59})).daylight);
    EXPECT_TRUE(ZoneTimeAt(zone, SecondsOfUtc({2021, 4, 10, 0, 23, 0, 0})).daylight);

    const ZoneTime utc = ZoneTimeAt(UtcZoneRules(), SecondsOfUtc({2027, 6, 1, 0, 12}));
    EXPECT_EQ(utc.utcOffsetMinutes, 0);
    EXPECT_EQ(utc.local.hour, 12);
    EXPECT_EQ(utc.local.dayOfWeek, 2);  // a Tuesday
}

TEST(ZoneRules, TziBytesDecodedAndImpossibleOnesRefused) {
    // Pacific Standard Time as the registry holds it.
    const unsigned char pacific[44] = {0xe0, 0x01, 0, 0, 0, 0, 0, 0, 0xc4, 0xff, 0xff, 0xff,
                                       0, 0, 11, 0, 0, 0, 1, 0, 2, 0, 0, 0, 0, 0, 0, 0,
                                       0, 0, 3, 0, 0, 0, 2, 0, 2, 0, 0, 0, 0, 0, 0, 0};
    ZoneYearRule rule;
    ASSERT_TRUE(DecodeZoneYearRule(pacific, sizeof pacific, rule));
    EXPECT_EQ(rule.bias, 480);
    EXPECT_EQ(rule.daylightBias, -60);
    EXPECT_EQ(rule.standardDate.month, 11);
    EXPECT_EQ(rule.standardDate.week, 1);
    EXPECT_EQ(rule.daylightDate.month, 3);
    EXPECT_EQ(rule.daylightDate.week, 2);
    EXPECT_EQ(rule.daylightDate.hour, 2);

    EXPECT_FALSE(DecodeZoneYearRule(pacific, 43, rule));
    struct Damage {
        std::size_t at;
        unsigned char value;
    } damages[] = {{14, 13}, {16, 7}, {18, 6}, {18, 0}, {20, 24}, {22, 60}, {3, 0x7f}};
    for (const Damage& d : damages) {
        unsigned char bytes[44];
        std::copy(pacific, pacific + 44, bytes);
        bytes[d.at] = d.value;
        EXPECT_FALSE(DecodeZoneYearRule(bytes, sizeof bytes, rule)) << "byte " << d.at;
    }
}

TEST(ZoneRules, CivilTimeAndSecondsBothWays) {
    struct Case {
        CivilTime civil;
        int64_t seconds;
    } cases[] = {
        {{1970, 1, 1, 4}, 0},
        {{1969, 12, 31, 3, 23, 59, 59}, -1},
        {{2000, 2, 29, 2}, 951782400},
        {{2100, 3, 1, 1}, 4107542400},
        {{1900, 3, 1, 4}, -2203891200},
        {{2027, 12, 31, 5, 23, 59, 59}, 1830297599},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SecondsOfUtc(c.civil), c.seconds);
        const CivilTime back = UtcOfSeconds(c.seconds);
        EXPECT_EQ(back.year * 10000 + back.month * 100 + back.day, c.civil.year * 10000 + c.civil.month * 100 + c.civil.day);
        EXPECT_EQ(back.dayOfWeek, c.civil.dayOfWeek) << c.seconds;
        EXPECT_EQ(back.hour * 3600 + back.minute * 60 + back.second, c.civil.hour * 3600 + c.civil.minute * 60 + c.civil.second);
    }
    EXPECT_EQ(SecondsOfUtc({2027, 12, 31, 0, 24}), SecondsOfUtc({2028, 1, 1})) << "fields that run over";
    EXPECT_EQ(SecondsOfUtc({2027, 13, 1}), SecondsOfUtc({2028, 1, 1}));
}

}  // namespace
