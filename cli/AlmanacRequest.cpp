#include "cli/AlmanacRequest.h"

#include "cli/Arguments.h"

#include <cmath>

const char kAlmanacUsage[] =
    "usage: solvane-almanac [--utc YYYY-MM-DDTHH:MM:SS] [--lat DEG] [--lon DEG] "
    "[--tz-bias MINUTES | --zone ID] [--place NAME] [--eclipses N] [--cheby PATH] [--json]";

namespace {

// The options that cannot go together, as one phrase; empty when they can.
std::string Clash(const AlmanacRequest& r) {
    if (r.place && (r.latitude || r.longitude)) return "--place takes its own --lat and --lon";
    if (r.place && (r.zone || r.timeZoneBias)) return "--place takes its own time zone";
    if (r.zone && r.timeZoneBias) return "--zone and --tz-bias cannot go together";
    if (r.zone && !(r.latitude && r.longitude)) return "--zone needs --lat and --lon";
    return {};
}

}  // namespace

bool ParseAlmanacArguments(const std::vector<std::string>& arguments, AlmanacRequest* request,
                           std::string* error) {
    AlmanacRequest r;
    const std::vector<OptionRule> rules = {
        UtcRule(&r.utc),
        LatitudeRule(&r.latitude),
        LongitudeRule(&r.longitude),
        {"--tz-bias", "whole minutes from -1440 to 1440",
         [&r](const std::string& value) {
             double minutes = 0;
             if (!ParseNumber(value, -1440, 1440, &minutes) || minutes != std::floor(minutes)) {
                 return false;
             }
             r.timeZoneBias = static_cast<int>(minutes);
             return true;
         }},
        {"--place", "a place name",
         [&r](const std::string& value) {
             r.place = value;
             return !value.empty();
         }},
        {"--zone", "a Windows time zone id",
         [&r](const std::string& value) {
             r.zone = value;
             return !value.empty();
         }},
        {"--cheby", "a file path",
         [&r](const std::string& value) {
             r.chebyPath = value;
             return !value.empty();
         }},
        {"--eclipses", "a whole number from 1 to 500",
         [&r](const std::string& value) {
             double count = 0;
             if (!ParseNumber(value, 1, 500, &count) || count != std::floor(count)) return false;
             r.eclipses = static_cast<int>(count);
             return true;
         }},
        {"--json", nullptr,
         [&r](const std::string&) {
             r.json = true;
             return true;
         }},
    };
    if (!ParseOptions(arguments, rules, error)) return false;
    *error = Clash(r);
    if (!error->empty()) return false;
    *request = r;
    return true;
}
