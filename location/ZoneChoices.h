// The time zones a user chooses from: the world places' zones by the names Windows shows for
// them ("(UTC+09:00) Osaka, Sapporo, Tokyo"), from west to east as Windows' own list runs.
#pragma once

#include "location/WorldPlaces.h"

#include <string>
#include <vector>

struct ZoneChoice {
    std::string id;        // the Windows zone id
    std::wstring display;  // Windows' name for it, or the id when this system has no such zone
};

// Every zone of `places`, and `alsoListed` when it is not among them (a stored zone kept as it
// is; empty for none), ordered by the offset their names begin with, then by name.
std::vector<ZoneChoice> ZoneChoicesOf(const WorldPlaces& places, const std::string& alsoListed = {});
