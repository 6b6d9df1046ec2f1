#include "app/PlaceDay.h"

#include "astro/AstroConstants.h"
#include "astro/EarthTilt.h"
#include "astro/Ephemeris.h"
#include "astro/Reduce.h"
#include "astro/RiseSet.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr int64_t kDay = 86400;
constexpr double kSunriseAltitude = -0.8333;  // degrees, as the engine's rise and set
constexpr double kTwilightAltitude = -6.0;
constexpr double kUnixEpochJulianDate = 2440587.5;

int64_t FloorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

// The apparent Sun's altitude (degrees) at a place and instant.
double SunAltitude(double latitudeDeg, double longitudeDeg, int64_t utcSeconds) {
    const double jd = kUnixEpochJulianDate + double(utcSeconds) / kDay;
    double place[6], raHours = 0, decDegrees = 0, sidereal = 0;
    Reduce(jd, kSun, kApparentGeocentric, place);
    VectorToRaDec(place, &raHours, &decDegrees);
    SiderealAngle(jd, 1, &sidereal);
    const double hourAngle = sidereal + longitudeDeg * astro::kDegToRad - raHours * 15 * astro::kDegToRad;
    const double latitude = latitudeDeg * astro::kDegToRad, declination = decDegrees * astro::kDegToRad;
    const double sine = std::sin(latitude) * std::sin(declination) +
                        std::cos(latitude) * std::cos(declination) * std::cos(hourAngle);
    return std::asin(std::clamp(sine, -1.0, 1.0)) / astro::kDegToRad;
}

// An event the engine gives for a UT date (hours from its 0h UT, or a marker), as UTC seconds.
std::optional<int64_t> EventOf(int64_t dateStartUtc, double hours) {
    if (!(std::fabs(hours) < kEventMarker / 2)) return std::nullopt;
    return dateStartUtc + std::llround(hours * 3600);
}

struct Events {
    std::vector<int64_t> rises, sets, transits, twilightStarts, twilightEnds;
};

// The events of every UT date the span [start, end) overlaps that fall within it, in order.
Events EventsWithin(double latitudeDeg, double longitudeDeg, int64_t start, int64_t end) {
    Events events;
    const double latitude = latitudeDeg * astro::kDegToRad, longitude = longitudeDeg * astro::kDegToRad;
    for (int64_t date = FloorDiv(start, kDay) * kDay; date < end; date += kDay) {
        const CivilTime ut = UtcOfSeconds(date);
        double rise, transit, set, twilightStart, twilightEnd;
        SunEvents(ut.month, ut.day, ut.year, longitude, latitude, &rise, &transit, &set);
        TwilightEvents(ut.month, ut.day, ut.year, longitude, latitude, &twilightStart, &twilightEnd);
        const auto keep = [&](double hours, std::vector<int64_t>& into) {
            const std::optional<int64_t> event = EventOf(date, hours);
            if (event && *event >= start && *event < end) into.push_back(*event);
        };
        keep(rise, events.rises);
        keep(transit, events.transits);
        keep(set, events.sets);
        keep(twilightStart, events.twilightStarts);
        keep(twilightEnd, events.twilightEnds);
    }
    return events;
}

// Seconds of [start, end) with the Sun up: from its state at the start, each rise and set.
int64_t SecondsUp(double latitudeDeg, double longitudeDeg, int64_t start, int64_t end, const Events& events) {
    std::vector<std::pair<int64_t, bool>> changes;  // instant, up after it
    for (int64_t t : events.rises) changes.push_back({t, true});
    for (int64_t t : events.sets) changes.push_back({t, false});
    std::sort(changes.begin(), changes.end());
    bool up = SunAltitude(latitudeDeg, longitudeDeg, start) > kSunriseAltitude;
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

    const Events events = EventsWithin(latitudeDeg, longitudeDeg, day.startUtc, day.endUtc);
    if (!events.rises.empty()) day.sunrise = events.rises.front();
    if (!events.sets.empty()) day.sunset = events.sets.back();
    if (!events.transits.empty()) day.noon = events.transits.front();
    if (!events.twilightStarts.empty()) day.twilightStart = events.twilightStarts.front();
    if (!events.twilightEnds.empty()) day.twilightEnd = events.twilightEnds.back();
    day.dayLengthHours = SecondsUp(latitudeDeg, longitudeDeg, day.startUtc, day.endUtc, events) / 3600.0;
    return day;
}

SkyLight SkyLightAt(double latitudeDeg, double longitudeDeg, int64_t utcSeconds) {
    const double altitude = SunAltitude(latitudeDeg, longitudeDeg, utcSeconds);
    if (altitude > kSunriseAltitude) return SkyLight::Day;
    return altitude > kTwilightAltitude ? SkyLight::Twilight : SkyLight::Night;
}
