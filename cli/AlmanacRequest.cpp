#include "cli/AlmanacRequest.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

const char kAlmanacUsage[] =
    "usage: solvane-almanac [--utc YYYY-MM-DDTHH:MM:SS] [--lat DEG] [--lon DEG] "
    "[--tz-bias MINUTES] [--cheby PATH] [--json]";

namespace {

bool ParseNumber(const std::string& text, double low, double high, double* value) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    const double v = std::strtod(text.c_str(), &end);
    if (errno != 0 || *end != '\0' || !std::isfinite(v) || v < low || v > high) return false;
    *value = v;
    return true;
}

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

}  // namespace

bool ParseUtc(const std::string& text, CivilTime* time) {
    int year, month, day, hour, minute, second, consumed = 0;
    if (text.size() != 19 ||
        std::sscanf(text.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d%n", &year, &month, &day, &hour,
                    &minute, &second, &consumed) != 6 ||
        consumed != 19) {
        return false;
    }
    if (year < 1 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) ||
        hour > 23 || minute > 59 || second > 59 || hour < 0 || minute < 0 || second < 0) {
        return false;
    }
    CivilTime t;
    t.year = year, t.month = month, t.day = day, t.hour = hour, t.minute = minute, t.second = second;
    *time = AddMinutes(t, 0);  // fills the day of the week
    return true;
}

bool ParseAlmanacArguments(const std::vector<std::string>& arguments, AlmanacRequest* request,
                           std::string* error) {
    AlmanacRequest r;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        if (option == "--json") {
            r.json = true;
            continue;
        }
        if (option != "--utc" && option != "--lat" && option != "--lon" && option != "--tz-bias" &&
            option != "--cheby") {
            *error = "unknown option '" + option + "'";
            return false;
        }
        if (i + 1 >= arguments.size()) {
            *error = option + " needs a value";
            return false;
        }
        const std::string& value = arguments[++i];
        double number = 0;
        if (option == "--utc") {
            CivilTime t;
            if (!ParseUtc(value, &t)) {
                *error = "--utc wants a date and time as YYYY-MM-DDTHH:MM:SS, not '" + value + "'";
                return false;
            }
            r.utc = t;
        } else if (option == "--lat") {
            if (!ParseNumber(value, -90, 90, &number)) {
                *error = "--lat wants degrees from -90 to 90, not '" + value + "'";
                return false;
            }
            r.latitude = number;
        } else if (option == "--lon") {
            if (!ParseNumber(value, -180, 180, &number)) {
                *error = "--lon wants degrees from -180 to 180 (east positive), not '" + value + "'";
                return false;
            }
            r.longitude = number;
        } else if (option == "--tz-bias") {
            if (!ParseNumber(value, -1440, 1440, &number) || number != std::floor(number)) {
                *error = "--tz-bias wants whole minutes from -1440 to 1440, not '" + value + "'";
                return false;
            }
            r.timeZoneBias = static_cast<int>(number);
        } else {
            r.chebyPath = value;
        }
    }
    *request = r;
    return true;
}
