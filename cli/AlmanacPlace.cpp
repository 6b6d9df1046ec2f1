#include "cli/AlmanacPlace.h"

#include "app/ZoneRulesReading.h"
#include "cli/Arguments.h"
#include "location/WorldPlaceLookup.h"

#include <cstdio>
#include <map>
#include <cstdlib>


AlmanacPlace ComputeAlmanacPlace(std::string name, double latitude, double longitude, ZoneRules zone,
                                 int64_t utcSeconds) {
    AlmanacPlace place;
    place.name = std::move(name);
    place.latitude = latitude;
    place.longitude = longitude;
    place.zone = std::move(zone);
    place.utcSeconds = utcSeconds;
    place.time = ZoneTimeAt(place.zone, utcSeconds);
    place.day = PlaceDayAt(latitude, longitude, place.zone, utcSeconds);
    return place;
}

std::string IsoLocalTime(const ZoneRules& zone, int64_t utcSeconds) {
    const ZoneTime time = ZoneTimeAt(zone, utcSeconds);
    const CivilTime& t = time.local;
    const int32_t offset = std::abs(time.utcOffsetMinutes);
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d%c%02d:%02d", t.year, t.month, t.day, t.hour,
                  t.minute, t.second, time.utcOffsetMinutes < 0 ? '-' : '+', offset / 60, offset % 60);
    return text;
}

bool ChoosePlace(const AlmanacRequest& request, const WorldPlaces& places, PlaceChoice* choice,
                 std::string* error) {
    PlaceChoice chosen;
    if (request.place) {
        const std::vector<std::size_t> found = FindWorldPlaces(places, *request.place, 1);
        if (found.empty()) {
            *error = "no world place is named " + Quoted(*request.place);
            return false;
        }
        const WorldPlace place = places.place(found.front());
        chosen.name = std::string(place.name);
        chosen.asciiName = std::string(place.asciiName);
        chosen.latitude = place.latitude;
        chosen.longitude = place.longitude;
        chosen.zoneId = std::string(places.zone(place.zone).windowsId);
    } else {
        chosen.latitude = request.latitude.value_or(0);
        chosen.longitude = request.longitude.value_or(0);
        chosen.zoneId = request.zone.value_or("UTC");
    }
    *choice = chosen;
    return true;
}

#ifndef _WIN32
void LearnHostZoneNames(const WorldPlaces& places) {
    std::map<std::string, std::string, std::less<>> names;
    for (std::size_t i = 0; i < places.zoneCount(); ++i) {
        names.emplace(std::string(places.zone(i).windowsId), std::string(places.zone(i).ianaZone));
    }
    SetHostZoneNames(std::move(names));
}
#endif
