// The almanac for a place in its own time zone: its local time and the Sun's events of its
// local calendar day.
#pragma once

#include "app/PlaceDay.h"
#include "app/ZoneRules.h"
#include "cli/AlmanacRequest.h"
#include "location/WorldPlaces.h"

#include <cstdint>
#include <string>

struct AlmanacPlace {
    std::string name;  // UTF-8; empty for a place given by coordinates
    double latitude = 0, longitude = 0;  // degrees, north and east positive
    ZoneRules zone;
    int64_t utcSeconds = 0;
    ZoneTime time;  // at utcSeconds
    PlaceDay day;   // the local calendar day holding utcSeconds
};

// The place at an instant. Uses the astronomy engine (the ephemeris must be open).
AlmanacPlace ComputeAlmanacPlace(std::string name, double latitude, double longitude, ZoneRules zone,
                                 int64_t utcSeconds);

// The local time in ISO 8601 with its offset ("2027-06-21T12:00:00+09:00").
std::string IsoLocalTime(const ZoneRules& zone, int64_t utcSeconds);

// Where a request's place is and the zone it keeps: the world place --place names (exact
// names before prefixes, the most populous first), or --lat, --lon and --zone.
struct PlaceChoice {
    std::string name, asciiName;  // empty for coordinates
    double latitude = 0, longitude = 0;
    std::string zoneId;
};
// False with a one-line error when no world place has that name.
bool ChoosePlace(const AlmanacRequest& request, const WorldPlaces& places, PlaceChoice* choice,
                 std::string* error);

#ifndef _WIN32
// Gives the host's zone reading the IANA zone of each Windows id the places file names.
void LearnHostZoneNames(const WorldPlaces& places);
#endif
