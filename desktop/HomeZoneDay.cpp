#include "desktop/HomeZoneDay.h"

#include "app/PlaceDay.h"
#include "app/ZoneRules.h"

#include <optional>

namespace {

// The local clock hours of `event` in `zone`, or `missing` when the day has no such event.
double LocalHours(const ZoneRules& zone, const std::optional<int64_t>& event, double missing) {
    if (!event) return missing;
    const CivilTime t = ZoneTimeAt(zone, *event).local;
    return t.hour + t.minute / 60.0 + t.second / 3600.0;
}

}  // namespace

HomeZoneDay HomeZoneDayOf(const PlaceDay& day, const ZoneRules& zone, int64_t nowUtc) {
    const ZoneTime now = ZoneTimeAt(zone, nowUtc);
    HomeZoneDay home;
    home.local = now.local;
    home.zoneName = ZoneNameAt(zone, now.daylight);
    // A rise or set the day lacks: the Sun stays up all day (23 or 25 hours on the day of a
    // clock change), or stays down (or crosses the horizon once, the other crossing on a
    // neighbouring day). Twilight lacking while the Sun
    // is up at all: the night never gets dark.
    const bool upAllDay = day.dayLengthHours > 0 && day.dayLengthHours * 3600 >= double(day.endUtc - day.startUtc);
    const double noRiseOrSet = upAllDay ? 99 : -99;
    const double noTwilight = day.dayLengthHours > 0 ? 99 : -99;
    home.sunrise = LocalHours(zone, day.sunrise, noRiseOrSet);
    home.sunset = LocalHours(zone, day.sunset, noRiseOrSet);
    home.twilightStart = LocalHours(zone, day.twilightStart, noTwilight);
    home.twilightEnd = LocalHours(zone, day.twilightEnd, noTwilight);
    home.noon = LocalHours(zone, day.noon, -99);
    return home;
}
