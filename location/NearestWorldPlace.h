// The world place nearest a point within one first-level division: how a place picked from a
// table that has no time zones (the United States places) takes the zone of its neighbours.
#pragma once

#include "location/WorldPlaces.h"

#include <string_view>

// The index of the place of `country` and `admin1` (GeoNames' codes) nearest (latitude,
// longitude) along the globe, or -1 when that division has no place.
int NearestWorldPlace(const WorldPlaces& places, std::string_view country, std::string_view admin1,
                      double latitude, double longitude);

// The same for a row of kUSStates: a state's places are GeoNames' "US" with the state's postal
// code as division; the territories and Palau are countries of their own there, with the same
// two letters.
int NearestWorldPlaceInUSState(const WorldPlaces& places, int state, double latitude, double longitude);
