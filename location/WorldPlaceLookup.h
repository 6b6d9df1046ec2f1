// Finding world places by the name a user types.
#pragma once

#include "location/WorldPlaces.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A typed place name as read: blanks around it and around its parts dropped; a final comma
// followed by two ASCII letters (and nothing else) is read as a country code ("Kingston, JM");
// any other comma belongs to the name.
struct PlaceQuery {
    std::string name;
    std::string country;  // two capitals, or empty for any country
};
PlaceQuery ReadPlaceQuery(std::string_view typed);

// The places whose name or ASCII name is the typed name without regard to case, then those
// whose name or ASCII name begins with it; within each group the most populous first, then by
// GeoNames id. With a country code, only that country's places. At most `most` of them, as
// indices into `places`. Nothing for an empty name or text that is not UTF-8.
std::vector<std::size_t> FindWorldPlaces(const WorldPlaces& places, std::string_view typed,
                                         std::size_t most = SIZE_MAX);
