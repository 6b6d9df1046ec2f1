// The host's zones: the system's zone data (TZ and localtime_r) for the IANA zone of a Windows
// id, turned into one rule per year with the clock changes as dates.
#include "app/ZoneRulesReading.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <mutex>
#include <unistd.h>

namespace {

constexpr int32_t kFirstYear = 1970;
constexpr int32_t kLastYear = 2050;
constexpr int64_t kDay = 86400;

std::mutex g_lock;  // TZ is the process's: one reading at a time
std::map<std::string, std::string, std::less<>> g_windowsToIana;

struct ClockState {
    int32_t offsetMinutes = 0;
    bool daylight = false;
    bool operator!=(const ClockState& other) const {
        return offsetMinutes != other.offsetMinutes || daylight != other.daylight;
    }
};

ClockState StateAt(int64_t utcSeconds) {
    const std::time_t t = std::time_t(utcSeconds);
    std::tm local = {};
    localtime_r(&t, &local);
    return {int32_t(local.tm_gmtoff / 60), local.tm_isdst > 0};
}

struct Change {
    int64_t utc;  // the first second of the new state
    ClockState before, after;
};

// Every change of the zone's clock from a day before kFirstYear to a day after kLastYear.
std::vector<Change> ChangesOfZone() {
    std::vector<Change> changes;
    const int64_t end = SecondsOfUtc({kLastYear + 1, 1, 2});
    int64_t t = SecondsOfUtc({kFirstYear, 1, 1}) - kDay;
    ClockState state = StateAt(t);
    for (; t < end; t += kDay) {
        const ClockState next = StateAt(t + kDay);
        if (!(next != state)) continue;
        int64_t low = t, high = t + kDay;  // state at low, another at high
        while (high - low > 1) {
            const int64_t middle = low + (high - low) / 2;
            (StateAt(middle) != state ? high : low) = middle;
        }
        changes.push_back({high, state, StateAt(high)});
        state = StateAt(high);
        t = high - kDay;  // look on from the change: two may fall within one day
    }
    return changes;
}

ZoneTransition DateOf(int64_t localSeconds) {
    const CivilTime civil = UtcOfSeconds(localSeconds);
    ZoneTransition change;
    change.year = civil.year;
    change.month = civil.month;
    change.week = civil.day;
    change.hour = civil.hour;
    change.minute = civil.minute;
    change.second = civil.second;
    return change;
}

ZoneYearRule RuleOfYear(int32_t year, const std::vector<Change>& changes) {
    const int64_t yearStart = SecondsOfUtc({year, 1, 1});
    const int64_t yearEnd = SecondsOfUtc({year + 1, 1, 1});
    // The clock at the local year's start.
    ClockState atStart = StateAt(yearStart);
    atStart = StateAt(yearStart - int64_t(atStart.offsetMinutes) * 60);
    int32_t standard = atStart.daylight ? atStart.offsetMinutes - 60 : atStart.offsetMinutes;
    int32_t daylight = atStart.daylight ? atStart.offsetMinutes : standard + 60;
    const Change* toDaylight = nullptr;
    const Change* toStandard = nullptr;
    for (const Change& change : changes) {
        const int64_t localBefore = change.utc + int64_t(change.before.offsetMinutes) * 60;
        if (localBefore < yearStart || localBefore >= yearEnd) continue;
        if (change.after.daylight) daylight = change.after.offsetMinutes;
        else standard = change.after.offsetMinutes;
        if (change.before.daylight) daylight = change.before.offsetMinutes;
        if (change.after.daylight && !change.before.daylight && !toDaylight) toDaylight = &change;
        if (!change.after.daylight && change.before.daylight) toStandard = &change;
    }
    ZoneYearRule rule;
    rule.bias = -standard;
    if (!toDaylight && !toStandard && !atStart.daylight) return rule;
    rule.daylightBias = standard - daylight;
    const auto localOf = [](const Change& change) { return change.utc + int64_t(change.before.offsetMinutes) * 60; };
    rule.daylightDate = toDaylight ? DateOf(localOf(*toDaylight)) : DateOf(yearStart);
    if (toStandard) {
        rule.standardDate = DateOf(localOf(*toStandard));
    } else if (toDaylight) {
        rule.standardDate = DateOf(yearStart);  // daylight time from the change into the next year
    } else {
        rule.standardDate = DateOf(yearEnd - 1);  // daylight time all year
        rule.standardDate.milliseconds = 999;
    }
    return rule;
}

std::string OffsetText(int32_t minutes) {
    char text[16];
    std::snprintf(text, sizeof text, "%c%02d:%02d", minutes < 0 ? '-' : '+', std::abs(minutes) / 60,
                  std::abs(minutes) % 60);
    return text;
}

ZoneRules RulesOfZone(std::string_view windowsId, const std::string& iana) {
    const std::vector<Change> changes = ChangesOfZone();
    ZoneRules zone;
    zone.windowsId = std::string(windowsId);
    zone.firstYear = kFirstYear;
    zone.lastYear = kLastYear;
    for (int32_t year = kFirstYear; year <= kLastYear; ++year) zone.years.push_back(RuleOfYear(year, changes));
    zone.rule = zone.years.back();
    zone.displayName = "(UTC" + OffsetText(-zone.rule.bias) + ") " + iana;
    zone.standardName = zone.windowsId;
    zone.daylightName = zone.windowsId;
    const std::size_t standardWord = zone.daylightName.find("Standard");
    if (standardWord != std::string::npos) zone.daylightName.replace(standardWord, 8, "Daylight");
    return zone;
}

}  // namespace

void SetHostZoneNames(std::map<std::string, std::string, std::less<>> windowsToIana) {
    std::lock_guard<std::mutex> hold(g_lock);
    g_windowsToIana = std::move(windowsToIana);
}

std::optional<ZoneRules> ReadZoneRules(std::string_view windowsId) {
    std::lock_guard<std::mutex> hold(g_lock);
    if (windowsId == "UTC") return UtcZoneRules();
    const auto named = g_windowsToIana.find(windowsId);
    if (named == g_windowsToIana.end()) return std::nullopt;
    const std::string& iana = named->second;
    // An unknown TZ reads as UTC without a word: ask for the zone's file first.
    const char* folder = std::getenv("TZDIR");
    const std::string path = std::string(folder && *folder ? folder : "/usr/share/zoneinfo") + "/" + iana;
    if (iana.empty() || iana.find("..") != std::string::npos || access(path.c_str(), R_OK) != 0) return std::nullopt;

    const char* previous = std::getenv("TZ");
    const std::string kept = previous ? previous : "";
    setenv("TZ", (":" + iana).c_str(), 1);
    tzset();
    ZoneRules zone = RulesOfZone(windowsId, iana);
    if (previous) setenv("TZ", kept.c_str(), 1);
    else unsetenv("TZ");
    tzset();
    return zone;
}
