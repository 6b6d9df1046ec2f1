// The home's day in a named time zone, as the details pane shows it in place of the PC's.
#pragma once

#include "platform/CivilClock.h"

#include <cstdint>
#include <string>

struct PlaceDay;
struct ZoneRules;

struct HomeZoneDay {
    CivilTime local;       // now, at home
    std::string zoneName;  // the zone's standard or daylight name, or why the home is in UTC
    // The Sun's events of the home's local calendar day in local hours (0 to 24), as the clock
    // state holds them: -99 for an event that does not come because the Sun stays down, 99
    // because it stays up.
    double sunrise = 0, sunset = 0, noon = 0, twilightStart = 0, twilightEnd = 0;
};

// The pane's day from the home's local calendar day in `zone` (PlaceDayAt), at `nowUtc`.
HomeZoneDay HomeZoneDayOf(const PlaceDay& day, const ZoneRules& zone, int64_t nowUtc);
