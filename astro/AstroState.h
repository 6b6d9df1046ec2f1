// "Now" for the clock: UTC and local time, the Earth's orientation and the Sun's events of
// the local date at home.
#pragma once

#include "platform/CivilClock.h"

#include <cstdint>

struct AstroState {
    int32_t utcYear, utcMonth, utcDay, utcDayOfWeek, utcHour, utcMinute, utcSecond;
    int32_t localYear, localMonth, localDay, localDayOfWeek, localHour, localMinute, localSecond;
    double meanObliquity;        // degrees
    double trueObliquity;        // degrees
    double equationOfEquinoxes;  // seconds of time
    double nutationLongitude;    // arcseconds
    double nutationObliquity;    // arcseconds
    double julianDate;           // of the UTC instant, whole seconds
    double greenwichSiderealTime;  // apparent, hours [0, 24)
    // The Sun's events of the local date, hours UT from 0h UT of that date, +-1000 markers.
    double sunrise, sunset, localNoon, twilightStart, twilightEnd;
    // The local date the events belong to; a negative day means none yet.
    int32_t eventsDay = -100, eventsMonth = 0, eventsYear = 0;
};

// Refreshes the time fields and the Earth's orientation from `clock`; recomputes the Sun's
// events for the home at `homeLatitude` and `homeLongitude` (degrees, north and east
// positive) when the local date changed, or when forced.
void UpdateAstroState(AstroState& state, double homeLatitude, double homeLongitude,
                      CivilClock& clock, bool force);
