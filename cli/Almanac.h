// The clock's numbers for one instant and place, as the command-line almanac shows them.
#pragma once

#include "app/UserOptions.h"
#include "astro/AstroState.h"
#include "astro/Eclipses.h"
#include "astro/MoonPhase.h"
#include "cli/AlmanacPlace.h"

#include <optional>
#include <string>
#include <vector>

struct BodyPlace {
    double position[3];  // apparent geocentric, true equator and equinox of date, AU
    double ra;           // hours
    double dec;          // degrees
    double distance;     // AU
};

struct Almanac {
    UserOptions options;  // home location and display choices
    AstroState state;
    BodyPlace sun, moon;
    double moonIllumination;  // percent
    double moonPhaseAngle;    // degrees
    PhaseTable phases;
    std::optional<AlmanacPlace> place;  // asked for by name or by coordinates and zone
    std::optional<std::vector<Eclipse>> eclipses;  // the next ones from home, when asked for
    std::optional<double> eclipsesEndJd;  // the ephemeris's last day, when it ends before as many
                                          // eclipses as were asked for
};

// Everything for the instant of `clock` at the home of `options`. The ephemeris must be open.
Almanac ComputeAlmanac(const UserOptions& options, CivilClock& clock);

// One JSON object; numbers unrounded in the engine's units. With a place, its "place": name
// (null for none), lat, lon, timeZone, utcOffsetMinutes, localTime, localDate and the day's
// sunrise, sunset, localNoon, twilightStart and twilightEnd as local ISO 8601 times (null when
// the day has none), and dayLengthHours. With eclipses, their "eclipses": kind, type, greatest
// (UTC), magnitude and gamma (solar) or umbralMagnitude and penumbralMagnitude (lunar), and
// home: visible, and when visible its contacts by name, belowHorizon (the names of those with
// the body below home's horizon; left out when none), maximum (UTC), magnitude and (solar)
// obscuration.
std::string AlmanacJson(const Almanac& almanac);

// A readable page of the program's own texts (Windows-1252).
std::string AlmanacPage(const Almanac& almanac);
