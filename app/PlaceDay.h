// A place's own calendar day in its own time zone: the Sun's events that fall between its local
// midnight and the next, and whether it is day, twilight or night there. Uses the astronomy
// engine: call it holding ClockSettings::shared().lock (the engine's caches).
#pragma once

#include "app/ZoneRules.h"

#include <cstdint>
#include <optional>

struct PlaceDay {
    CivilTime date;                    // the local calendar day (time fields 0)
    int64_t startUtc = 0, endUtc = 0;  // its local midnight and the next one, UTC seconds
    // UTC seconds; none when the event does not happen within the day.
    std::optional<int64_t> sunrise, sunset, noon, twilightStart, twilightEnd;
    double dayLengthHours = 0;         // the Sun up within the day: the day's length all day, 0 none
};

// The calendar day, in `zone`, that holds the instant `utcSeconds`, at a place (degrees, north
// and east positive).
PlaceDay PlaceDayAt(double latitudeDeg, double longitudeDeg, const ZoneRules& zone, int64_t utcSeconds);

// Day: the Sun's upper limb above the horizon (centre above -0.833 degrees with refraction);
// twilight: the centre above -6 degrees (civil twilight); night below.
enum class SkyLight { Day, Twilight, Night };
SkyLight SkyLightAt(double latitudeDeg, double longitudeDeg, int64_t utcSeconds);
