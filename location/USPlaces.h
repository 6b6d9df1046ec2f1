// Reading "USPlaces.bin", the United States places database: flat 64-byte little-endian
// records with no header, grouped by state in ascending order of state index.
//
//   offset  0: int32   state index (row of kUSStates)
//   offset  4: char[44] place name, Windows-1252, NUL-terminated
//   offset 48: double  latitude in degrees, north positive
//   offset 56: double  longitude in degrees, east positive
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

constexpr std::size_t kUSPlaceRecordSize = 64;
constexpr std::size_t kUSPlaceNameSize = 44;

struct USPlace {
    int32_t state = 0;
    char name[kUSPlaceNameSize] = {};  // always NUL-terminated
    double latitude = 0;
    double longitude = 0;
};

// One record from its 64 bytes. False, with `place` unspecified, for a damaged record: a
// state index outside the table, a name without its NUL within 44 bytes, or a latitude or
// longitude that is not a finite number within [-90, 90] and [-180, 180].
bool DecodeUSPlace(const unsigned char* record, USPlace& place);

// The 64 bytes of a record (the name cut to 43 bytes; the bytes after its NUL are zero).
void EncodeUSPlace(const USPlace& place, unsigned char* record);

struct USPlacesRead {
    bool opened = false;            // the file could be opened (always true for bytes)
    std::vector<USPlace> places;    // the state's places, in file order
    std::size_t damaged = 0;        // damaged records met and skipped
    std::size_t trailingBytes = 0;  // bytes after the last whole record, ignored
};

// The places of state `state`: the records are read in order from the start, damaged ones
// skipped and counted, and reading stops at the first good record of a higher state index
// (so records of a state that come after a later state's group are not found). A final
// piece shorter than a record is ignored and reported in `trailingBytes`.
USPlacesRead ReadUSPlaces(const unsigned char* data, std::size_t size, int state);
USPlacesRead ReadUSPlacesFile(const std::string& path, int state);

enum class USPlacesCheck {
    Missing,  // the file cannot be opened
    Damaged,  // no whole record, a piece of one at the end, a damaged record, or states out of order
    Sound,
};

// Whether the whole database can be trusted, checked before any of it is shown.
USPlacesCheck CheckUSPlaces(const unsigned char* data, std::size_t size);
USPlacesCheck CheckUSPlacesFile(const std::string& path);

// The home name of a picked place: its name and ", " with its state's postal code (as the
// default home reads "Orlando, FL") when both fit in kHomeNameLength characters, else the name
// alone, cut to fit.
std::string HomeNameOfPlace(const USPlace& place);
