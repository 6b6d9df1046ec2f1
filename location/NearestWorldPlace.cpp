#include "location/NearestWorldPlace.h"

#include "location/USStates.h"

#include <cmath>

namespace {

constexpr double kRadiansPerDegree = 3.14159265358979323846 / 180.0;

// The haversine of the angle between two points of the globe: it grows with the angle, so it
// orders places as their distance does.
double Separation(double latitude1, double longitude1, double latitude2, double longitude2) {
    const double halfLatitude = std::sin((latitude2 - latitude1) * kRadiansPerDegree / 2);
    const double halfLongitude = std::sin((longitude2 - longitude1) * kRadiansPerDegree / 2);
    return halfLatitude * halfLatitude + std::cos(latitude1 * kRadiansPerDegree) *
                                             std::cos(latitude2 * kRadiansPerDegree) * halfLongitude * halfLongitude;
}

// The nearest place of `country`, within `admin1` unless `anyDivision`.
int Nearest(const WorldPlaces& places, std::string_view country, std::string_view admin1, bool anyDivision,
            double latitude, double longitude) {
    int nearest = -1;
    double nearestSeparation = 0;
    for (std::size_t i = 0; i < places.placeCount(); ++i) {
        const WorldPlace place = places.place(i);
        if (country != place.country || (!anyDivision && admin1 != place.admin1)) continue;
        const double separation = Separation(latitude, longitude, place.latitude, place.longitude);
        if (nearest < 0 || separation < nearestSeparation) {
            nearest = int(i);
            nearestSeparation = separation;
        }
    }
    return nearest;
}

}  // namespace

int NearestWorldPlace(const WorldPlaces& places, std::string_view country, std::string_view admin1, double latitude,
                      double longitude) {
    return Nearest(places, country, admin1, false, latitude, longitude);
}

int NearestWorldPlaceInUSState(const WorldPlaces& places, int state, double latitude, double longitude) {
    if (state < 0 || state >= kUSStateCount) return -1;
    const std::string_view code = kUSStates[state].abbreviation;
    const int inState = Nearest(places, "US", code, false, latitude, longitude);
    return inState >= 0 ? inState : Nearest(places, code, "", true, latitude, longitude);
}
