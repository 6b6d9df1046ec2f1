// What the clock keeps beside the options record: the home's time zone and the world places
// with their own zones, with the display choices that show them and the twilight bands on the
// globe.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

constexpr std::size_t kMostWorldPlaces = 32;

struct PlaceSetting {
    std::string name;      // UTF-8, as the user named it
    double latitude = 0;   // degrees, north positive
    double longitude = 0;  // degrees, east positive
    std::string timeZone;  // a Windows zone id ("Tokyo Standard Time")
    bool show = true;      // drawn on the globe
};

inline bool operator==(const PlaceSetting& a, const PlaceSetting& b) {
    return a.name == b.name && a.latitude == b.latitude && a.longitude == b.longitude &&
           a.timeZone == b.timeZone && a.show == b.show;
}

struct WorldSettings {
    // The Windows zone id of the home's civil time; empty for this PC's time zone.
    std::string homeTimeZone;
    bool showPlaces = true;
    std::vector<PlaceSetting> places;  // at most kMostWorldPlaces, in the user's order
    bool twilightBands = false;        // the twilight bands shaded on the night side
};

inline bool operator==(const WorldSettings& a, const WorldSettings& b) {
    return a.homeTimeZone == b.homeTimeZone && a.showPlaces == b.showPlaces && a.places == b.places &&
           a.twilightBands == b.twilightBands;
}
inline bool operator!=(const WorldSettings& a, const WorldSettings& b) { return !(a == b); }
