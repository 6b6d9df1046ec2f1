// The texts of a place's row in the World Clock window: its local time, its date where it is
// not the PC's, its offset from UTC, and its own day's sunrise, sunset and length.
#pragma once

#include "platform/CivilClock.h"

#include <cstdint>
#include <optional>
#include <string>

struct UserOptions;

// What the row shows of a place now, in its own zone.
struct PlaceClock {
    CivilTime local;                          // now
    int32_t utcOffsetMinutes = 0;
    std::optional<CivilTime> sunrise, sunset;  // within the place's own calendar day, local
    double dayLengthHours = 0;                // Sun up within that day
};

struct PlaceRowTexts {
    std::string time, date, offset, sunrise, sunset, dayLength;
};

// `pcToday` is the PC's local date; the date column stays empty while the place shares it.
// Times take the 12- or 24-hour form of the options; a missing sunrise or sunset is a dash.
PlaceRowTexts FormatPlaceRow(const PlaceClock& place, const CivilTime& pcToday, const UserOptions& options);

// "UTC", "UTC+9", "UTC+5:30", "UTC-3:30".
std::string UtcOffsetText(int32_t minutes);
// Hours and minutes, rounded to the minute: "9:45", "24:00".
std::string DayLengthText(double hours);
