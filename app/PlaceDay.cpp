#include "app/PlaceDay.h"

#include "astro/AstroConstants.h"
#include "astro/EarthTilt.h"
#include "astro/Ephemeris.h"
#include "astro/JulianDate.h"
#include "astro/Reduce.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

namespace {

constexpr int64_t kDay = 86400;
constexpr double kSunriseAltitude = -0.8333;  // degrees, as the engine's rise and set
constexpr double kTwilightAltitude = -6.0;


struct SunSky {
    double altitude;   // degrees, of the apparent Sun's centre
    double hourAngle;  // radians, -pi to pi, negative before the transit
};

// Where the apparent Sun stands in a place's sky at an instant.
SunSky SunSkyAt(double latitudeDeg, double longitudeDeg, int64_t utcSeconds) {
    const double jd = JulianDateOfUnixSeconds(utcSeconds);
    double place[6], raHours = 0, decDegrees = 0, sidereal = 0;
    Reduce(jd, kSun, kApparentGeocentric, place);
    VectorToRaDec(place, &raHours, &decDegrees);
    SiderealAngle(jd, 1, &sidereal);
    const double hourAngle = std::remainder(
        sidereal + longitudeDeg * astro::kDegToRad - raHours * 15 * astro::kDegToRad, 2 * astro::kPi);
    const double latitude = latitudeDeg * astro::kDegToRad, declination = decDegrees * astro::kDegToRad;
    const double sine = std::sin(latitude) * std::sin(declination) +
                        std::cos(latitude) * std::cos(declination) * std::cos(hourAngle);
    return {std::asin(std::clamp(sine, -1.0, 1.0)) / astro::kDegToRad, hourAngle};
}

// The day is searched at this step for the instants the Sun crosses an altitude or the
// meridian, each then narrowed to the second. A dip below the horizon shorter than the step,
// which happens only on the few days the midnight sun begins or ends, may go unseen.
constexpr int64_t kSearchStep = 15 * 60;

// A change of the sign of `above` between `from` (where it is `wasAbove`) and `to`, narrowed
// to the first second after which it holds.
template <typename Above>
int64_t Crossing(int64_t from, int64_t to, bool wasAbove, const Above& above) {
    while (to - from > 1) {
        const int64_t middle = from + (to - from) / 2;
        (above(middle) == wasAbove ? from : to) = middle;
    }
    return to;
}

struct Crossings {
    std::vector<int64_t> up, down;  // in order
};

// The instants within [start, end) at which `above` turns true (up) or false (down).
template <typename Above>
Crossings CrossingsWithin(int64_t start, int64_t end, const Above& above) {
    Crossings found;
    bool was = above(start);
    for (int64_t from = start; from < end;) {
        const int64_t to = std::min(from + kSearchStep, end);
        const bool now = above(to);
        if (now != was) {
            const int64_t at = Crossing(from, to, was, above);
            if (at < end) (now ? found.up : found.down).push_back(at);
        }
        was = now;
        from = to;
    }
    return found;
}

// Seconds of [start, end) with the Sun up: from its state at the start, each rise and set.
int64_t SecondsUp(bool upAtStart, int64_t start, int64_t end, const Crossings& horizon) {
    std::vector<std::pair<int64_t, bool>> changes;  // instant, up after it
    for (int64_t t : horizon.up) changes.push_back({t, true});
    for (int64_t t : horizon.down) changes.push_back({t, false});
    std::sort(changes.begin(), changes.end());
    bool up = upAtStart;
    int64_t since = start, total = 0;
    for (const auto& [at, upAfter] : changes) {
        if (up) total += at - since;
        up = upAfter;
        since = at;
    }
    if (up) total += end - since;
    return total;
}

}  // namespace

PlaceDay PlaceDayAt(double latitudeDeg, double longitudeDeg, const ZoneRules& zone, int64_t utcSeconds) {
    PlaceDay day;
    const CivilTime local = ZoneTimeAt(zone, utcSeconds).local;
    day.date.year = local.year;
    day.date.month = local.month;
    day.date.day = local.day;
    day.date.dayOfWeek = local.dayOfWeek;
    day.startUtc = ZoneUtcOf(zone, day.date);
    day.endUtc = ZoneUtcOf(zone, UtcOfSeconds(SecondsOfUtc(day.date) + kDay));

    // The events are found from the Sun's own altitude and hour angle across the local day,
    // which may span two UT dates, rather than from the engine's per-UT-date events, which fold
    // an event near 0h UT into the wrong date.
    // The three searches step through the same instants: the Sun is worked out once for each.
    std::map<int64_t, SunSky> seen;
    const auto sky = [&](int64_t t) {
        const auto known = seen.find(t);
        return known != seen.end() ? known->second : seen.emplace(t, SunSkyAt(latitudeDeg, longitudeDeg, t)).first->second;
    };
    const Crossings horizon = CrossingsWithin(day.startUtc, day.endUtc, [&](int64_t t) { return sky(t).altitude > kSunriseAltitude; });
    const Crossings twilight = CrossingsWithin(day.startUtc, day.endUtc, [&](int64_t t) { return sky(t).altitude > kTwilightAltitude; });
    // The hour angle passes 0 upwards at the transit (and jumps from pi to -pi at midnight).
    const Crossings meridian = CrossingsWithin(day.startUtc, day.endUtc, [&](int64_t t) {
        const double h = sky(t).hourAngle;
        return h >= 0 && h < astro::kPi / 2;
    });
    if (!horizon.up.empty()) day.sunrise = horizon.up.front();
    if (!horizon.down.empty()) day.sunset = horizon.down.back();
    if (!meridian.up.empty()) day.noon = meridian.up.front();
    if (!twilight.up.empty()) day.twilightStart = twilight.up.front();
    if (!twilight.down.empty()) day.twilightEnd = twilight.down.back();
    const bool upAtStart = sky(day.startUtc).altitude > kSunriseAltitude;
    day.dayLengthHours = SecondsUp(upAtStart, day.startUtc, day.endUtc, horizon) / 3600.0;
    return day;
}

SkyLight SkyLightAt(double latitudeDeg, double longitudeDeg, int64_t utcSeconds) {
    const double altitude = SunSkyAt(latitudeDeg, longitudeDeg, utcSeconds).altitude;
    if (altitude > kSunriseAltitude) return SkyLight::Day;
    return altitude > kTwilightAltitude ? SkyLight::Twilight : SkyLight::Night;
}
