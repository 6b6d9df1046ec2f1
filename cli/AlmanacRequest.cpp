#include "cli/AlmanacRequest.h"

#include "cli/Arguments.h"

#include <cmath>

const char kAlmanacUsage[] =
    "usage: solvane-almanac [--utc YYYY-MM-DDTHH:MM:SS] [--lat DEG] [--lon DEG] "
    "[--tz-bias MINUTES] [--cheby PATH] [--json]";

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
        {"--cheby", "a file path",
         [&r](const std::string& value) {
             r.chebyPath = value;
             return !value.empty();
         }},
        {"--json", nullptr,
         [&r](const std::string&) {
             r.json = true;
             return true;
         }},
    };
    if (!ParseOptions(arguments, rules, error)) return false;
    *request = r;
    return true;
}
