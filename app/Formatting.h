// The texts of times, dates, sidereal times, event times and coordinates.
#pragma once

#include "platform/MonthNames.h"

#include <string>

struct AstroState;
struct UserOptions;

// printf into a string (up to 255 characters).
std::string Printf(const char* format, ...) __attribute__((format(printf, 1, 2)));

struct DegreesMinutesSeconds {
    int degrees, minutes, seconds;
};
// Whole degrees (signed), minutes and seconds of an angle, rounded to the nearest second;
// zeros for NaN and for a million degrees or more.
DegreesMinutesSeconds SplitDegrees(double degrees);
double DmsToDegrees(int degrees, int minutes, int seconds);

// Coordinates in the form the options choose (degrees-minutes-seconds or decimal degrees),
// with the hemisphere letter. Texts are Windows-1252.
std::string FormatLongitude(double degrees, const UserOptions& options);
std::string FormatLatitude(double degrees, const UserOptions& options);

std::string FormatLocalDateTime(const AstroState& state, const UserOptions& options);
std::string FormatUtcDateTime(const AstroState& state);
std::string FormatGreenwichSidereal(const AstroState& state);
std::string FormatLocalSidereal(const AstroState& state, const UserOptions& options);

// An event at local time `hours`: "Never" below -50 (and for NaN), "Always" above 50, else the
// clock time rounded to the minute in the 12- or 24-hour form of the options.
std::string FormatEventTime(double hours, const UserOptions& options);
