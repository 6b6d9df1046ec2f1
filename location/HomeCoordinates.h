// The arithmetic of the Home Location dialog's fields: a coordinate shown as degrees, minutes
// and seconds or as decimal degrees with its hemisphere on a radio button, read back from what
// was typed, and checked before it is stored.
#pragma once

#include <cstddef>
#include <string>

struct DmsFields {
    unsigned degrees, minutes, seconds;  // of the absolute value, rounded to the nearest second
};

// The three fields of a coordinate (degrees, north or east positive).
DmsFields DmsFieldsOf(double degrees);
// The decimal field of a coordinate: its absolute value with five decimals.
std::string DecimalFieldText(double degrees);

// Which radio of a pair shows a coordinate's hemisphere: a latitude of 0 is north, a
// longitude of 0 is west.
inline bool ShowsNorth(double latitude) { return latitude >= 0; }
inline bool ShowsEast(double longitude) { return longitude > 0; }

// A coordinate from its typed fields, negative for the south or west radio. False, with
// `coordinate` untouched, when the minutes or the seconds are 60 or more: they are never
// carried into the degrees behind the user's back.
bool CoordinateFromDms(unsigned degrees, unsigned minutes, unsigned seconds, bool negative, double& coordinate);

// A coordinate from the decimal field's text (its first 15 characters, spaces around allowed),
// negative for the south or west radio; a typed minus sign is ignored since the radio gives
// the hemisphere. False when the text is not a number.
bool CoordinateFromDecimalText(const std::string& text, bool negative, double& degrees);

// The longest home name the dialogs store (the record's field has room for more).
constexpr std::size_t kHomeNameLength = 31;

// A name cut to `length` characters, without the blanks a cut leaves at its end.
std::string CutName(const std::string& name, std::size_t length = kHomeNameLength);

// Whether a place can be stored: a latitude within ±90° and a longitude within ±180°.
bool IsValidHomeCoordinate(double latitude, double longitude);
