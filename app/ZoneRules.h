// A Windows time zone's rules, as the registry's TZI and Dynamic DST values hold them, and the
// arithmetic of local time by them. Instants are seconds since 1970-01-01 00:00:00 UTC. Offsets
// are minutes EAST of UTC (local = UTC + offset), the opposite sign of Windows' bias (minutes
// WEST: UTC = local + bias).
#pragma once

#include "platform/CivilClock.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A clock change as SYSTEMTIME holds it. With year 0 it recurs: the `week`th `dayOfWeek` of the
// month (week 5: the last). With year != 0 it is a date: `week` is then the day of the month.
// Month 0: the zone keeps no daylight time. The time of day is local: standard time for the
// change to daylight time, daylight time for the change back.
struct ZoneTransition {
    int32_t year = 0, month = 0, dayOfWeek = 0, week = 0;  // dayOfWeek 0 = Sunday
    int32_t hour = 0, minute = 0, second = 0, milliseconds = 0;
};

// One year's rules (the TZI value). Biases in minutes WEST of UTC: standard time is
// UTC - (bias + standardBias), daylight time UTC - (bias + daylightBias).
struct ZoneYearRule {
    int32_t bias = 0, standardBias = 0, daylightBias = 0;
    ZoneTransition standardDate, daylightDate;
};

struct ZoneRules {
    std::string windowsId, displayName, standardName, daylightName;  // UTF-8
    ZoneYearRule rule;                    // TZI: the rules of years without an own entry
    int32_t firstYear = 0, lastYear = 0;  // Dynamic DST, when any (years empty otherwise)
    std::vector<ZoneYearRule> years;      // firstYear .. lastYear; earlier years take the first,
                                          // later ones the last, as Windows does
};

// "UTC": offset 0, no daylight time.
ZoneRules UtcZoneRules();

// The rules in force in a year (by the zone's local standard time).
const ZoneYearRule& ZoneRuleOfYear(const ZoneRules& zone, int32_t year);

// The TZI value's 44 bytes (little-endian LONG Bias, StandardBias, DaylightBias, SYSTEMTIME
// StandardDate, DaylightDate). False for any other size.
bool DecodeZoneYearRule(const unsigned char* bytes, std::size_t size, ZoneYearRule& rule);

struct ZoneTime {
    CivilTime local;               // the zone's civil time
    int32_t utcOffsetMinutes = 0;  // east of UTC
    bool daylight = false;
};
ZoneTime ZoneTimeAt(const ZoneRules& zone, int64_t utcSeconds);

// The UTC instant of a local civil time (in a skipped hour: as if the time before the change
// went on; in a repeated hour: the first).
int64_t ZoneUtcOf(const ZoneRules& zone, const CivilTime& local);

// The standard or the daylight name (the standard one when the zone names no daylight time).
const std::string& ZoneNameAt(const ZoneRules& zone, bool daylight);

// Seconds since 1970-01-01 00:00:00 of a civil time (its dayOfWeek is not read; the fields may
// run over, e.g. hour 24 is the next day's midnight), and back (with the day of the week).
int64_t SecondsOfUtc(const CivilTime& utc);
CivilTime UtcOfSeconds(int64_t utcSeconds);
