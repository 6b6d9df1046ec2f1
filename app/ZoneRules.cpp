#include "app/ZoneRules.h"

#include <algorithm>

namespace {

constexpr int64_t kSecondsPerDay = 86400;

int64_t FloorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's days_from_civil).
int64_t DaysOfDate(int64_t year, int64_t month, int64_t day) {
    year += FloorDiv(month - 1, 12);
    month = month - 12 * FloorDiv(month - 1, 12);
    year -= month <= 2;
    const int64_t era = FloorDiv(year, 400);
    const int64_t yearOfEra = year - era * 400;
    const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

int32_t DaysInMonth(int32_t year, int32_t month) {
    return int32_t(DaysOfDate(year, month + 1, 1) - DaysOfDate(year, month, 1));
}

// 0 = Sunday; 1970-01-01 was a Thursday.
int32_t DayOfWeek(int64_t days) { return int32_t(days + 4 - 7 * FloorDiv(days + 4, 7)); }

int32_t StandardOffset(const ZoneYearRule& rule) { return -(rule.bias + rule.standardBias); }
int32_t DaylightOffset(const ZoneYearRule& rule) { return -(rule.bias + rule.daylightBias); }

bool KeepsDaylightTime(const ZoneYearRule& rule) {
    return rule.standardDate.month != 0 && rule.daylightDate.month != 0;
}

// The local seconds (since 1970-01-01 00:00 of the local clock) of a change in `year`. A
// fraction of a second rounds up: the change happens at the next whole second.
int64_t LocalSecondsOfChange(const ZoneTransition& change, int32_t year) {
    int32_t day = change.week;
    if (change.year == 0) {
        const int32_t firstWeekday = DayOfWeek(DaysOfDate(year, change.month, 1));
        day = 1 + (change.dayOfWeek - firstWeekday + 7) % 7 + 7 * (change.week - 1);
        while (day > DaysInMonth(year, change.month)) day -= 7;
    }
    return DaysOfDate(year, change.month, day) * kSecondsPerDay + change.hour * 3600 +
           change.minute * 60 + change.second + (change.milliseconds > 0 ? 1 : 0);
}

bool IsDaylightTime(const ZoneYearRule& rule, int32_t year, int64_t utcSeconds) {
    if (!KeepsDaylightTime(rule)) return false;
    const int64_t start = LocalSecondsOfChange(rule.daylightDate, year) - StandardOffset(rule) * 60;
    const int64_t end = LocalSecondsOfChange(rule.standardDate, year) - DaylightOffset(rule) * 60;
    if (start < end) return utcSeconds >= start && utcSeconds < end;
    return utcSeconds < end || utcSeconds >= start;  // daylight time over the new year (south)
}

int32_t ReadInt32(const unsigned char* p) {
    return int32_t(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24);
}

int32_t ReadUint16(const unsigned char* p) { return int32_t(p[0] | p[1] << 8); }

bool ReadChange(const unsigned char* p, ZoneTransition& change) {
    change.year = ReadUint16(p);
    change.month = ReadUint16(p + 2);
    change.dayOfWeek = ReadUint16(p + 4);
    change.week = ReadUint16(p + 6);
    change.hour = ReadUint16(p + 8);
    change.minute = ReadUint16(p + 10);
    change.second = ReadUint16(p + 12);
    change.milliseconds = ReadUint16(p + 14);
    if (change.month == 0) return true;
    const bool dateSound = change.year != 0 ? change.week >= 1 && change.week <= 31
                                            : change.week >= 1 && change.week <= 5 && change.dayOfWeek <= 6;
    return dateSound && change.month <= 12 && change.hour <= 23 && change.minute <= 59 &&
           change.second <= 59 && change.milliseconds <= 999;
}

bool BiasIsSound(int32_t minutes) { return minutes >= -24 * 60 && minutes <= 24 * 60; }

}  // namespace

ZoneRules UtcZoneRules() {
    ZoneRules utc;
    utc.windowsId = "UTC";
    utc.displayName = "(UTC) Coordinated Universal Time";
    utc.standardName = "Coordinated Universal Time";
    utc.daylightName = "Coordinated Universal Time";
    return utc;
}

const ZoneYearRule& ZoneRuleOfYear(const ZoneRules& zone, int32_t year) {
    if (zone.years.empty()) return zone.rule;
    const int64_t index = std::clamp<int64_t>(int64_t(year) - zone.firstYear, 0, int64_t(zone.years.size()) - 1);
    return zone.years[std::size_t(index)];
}

bool DecodeZoneYearRule(const unsigned char* bytes, std::size_t size, ZoneYearRule& rule) {
    if (size != 44) return false;
    ZoneYearRule read;
    read.bias = ReadInt32(bytes);
    read.standardBias = ReadInt32(bytes + 4);
    read.daylightBias = ReadInt32(bytes + 8);
    if (!BiasIsSound(read.bias) || !BiasIsSound(read.standardBias) || !BiasIsSound(read.daylightBias) ||
        !ReadChange(bytes + 12, read.standardDate) || !ReadChange(bytes + 28, read.daylightDate)) {
        return false;
    }
    rule = read;
    return true;
}

ZoneTime ZoneTimeAt(const ZoneRules& zone, int64_t utcSeconds) {
    // The year of the rules is the year of the local standard time.
    const int32_t utcYear = UtcOfSeconds(utcSeconds).year;
    const int32_t year = UtcOfSeconds(utcSeconds + StandardOffset(ZoneRuleOfYear(zone, utcYear)) * 60).year;
    const ZoneYearRule& rule = ZoneRuleOfYear(zone, year);
    ZoneTime time;
    time.daylight = IsDaylightTime(rule, year, utcSeconds);
    time.utcOffsetMinutes = time.daylight ? DaylightOffset(rule) : StandardOffset(rule);
    time.local = UtcOfSeconds(utcSeconds + int64_t(time.utcOffsetMinutes) * 60);
    return time;
}

int64_t ZoneUtcOf(const ZoneRules& zone, const CivilTime& local) {
    const int64_t localSeconds = SecondsOfUtc(local);
    // The offsets that could hold: those a day either side, and the year's two.
    const int32_t before = ZoneTimeAt(zone, localSeconds - kSecondsPerDay).utcOffsetMinutes;
    const int32_t after = ZoneTimeAt(zone, localSeconds + kSecondsPerDay).utcOffsetMinutes;
    const ZoneYearRule& rule = ZoneRuleOfYear(zone, local.year);
    const int32_t candidates[] = {before, after, StandardOffset(rule), DaylightOffset(rule)};
    bool found = false;
    int64_t first = 0;
    for (int32_t offset : candidates) {
        const int64_t utc = localSeconds - int64_t(offset) * 60;
        if (ZoneTimeAt(zone, utc).utcOffsetMinutes != offset) continue;
        if (!found || utc < first) first = utc;
        found = true;
    }
    // None holds in a skipped hour: the clock before the change read on.
    return found ? first : localSeconds - int64_t(before) * 60;
}

const std::string& ZoneNameAt(const ZoneRules& zone, bool daylight) {
    return daylight && !zone.daylightName.empty() ? zone.daylightName : zone.standardName;
}

int64_t SecondsOfUtc(const CivilTime& utc) {
    return DaysOfDate(utc.year, utc.month, utc.day) * kSecondsPerDay + int64_t(utc.hour) * 3600 +
           int64_t(utc.minute) * 60 + utc.second;
}

CivilTime UtcOfSeconds(int64_t utcSeconds) {
    const int64_t days = FloorDiv(utcSeconds, kSecondsPerDay);
    const int64_t secondOfDay = utcSeconds - days * kSecondsPerDay;
    // H. Hinnant's civil_from_days.
    const int64_t z = days + 719468;
    const int64_t era = FloorDiv(z, 146097);
    const int64_t dayOfEra = z - era * 146097;
    const int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t monthIndex = (5 * dayOfYear + 2) / 153;
    CivilTime civil;
    civil.day = int32_t(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
    civil.month = int32_t(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
    civil.year = int32_t(yearOfEra + era * 400 + (civil.month <= 2));
    civil.dayOfWeek = DayOfWeek(days);
    civil.hour = int32_t(secondOfDay / 3600);
    civil.minute = int32_t(secondOfDay / 60 % 60);
    civil.second = int32_t(secondOfDay % 60);
    return civil;
}
