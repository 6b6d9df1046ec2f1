// The command-line almanac: what the user asked for.
#pragma once

#include "platform/CivilClock.h"

#include <optional>
#include <string>
#include <vector>

struct AlmanacRequest {
    std::optional<CivilTime> utc;        // absent: now
    std::optional<double> latitude;      // degrees, north positive; absent: home
    std::optional<double> longitude;     // degrees, east positive; absent: home
    std::optional<int> timeZoneBias;     // minutes to add to local time to get UTC
    std::optional<std::string> place;    // a world place's name, as typed
    std::optional<std::string> zone;     // a Windows zone id, with latitude and longitude
    std::optional<std::string> chebyPath;
    std::optional<int> eclipses;         // how many of the next eclipses to list
    bool json = false;
};

extern const char kAlmanacUsage[];

// Parses the arguments (without the program name). False with `error` set on bad input: also
// --place with --lat, --lon, --zone or --tz-bias (a place has its own), --zone with --tz-bias,
// and --zone without both --lat and --lon.
bool ParseAlmanacArguments(const std::vector<std::string>& arguments, AlmanacRequest* request,
                           std::string* error);
