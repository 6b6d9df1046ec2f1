// "WorldPlaces.bin", the world places database: every populated place of 15,000 people or more
// and every national capital, each with the Windows time zone it keeps. Little-endian:
//
//   header, 20 bytes:
//     offset  0: char[4]  "SVWP"
//     offset  4: uint16   layout version (kWorldPlacesVersion)
//     offset  6: uint16   zone count Z
//     offset  8: uint32   country count C
//     offset 12: uint32   place count P
//     offset 16: uint32   string pool size S in bytes
//   Z zones, 8 bytes each, sorted by Windows id (bytewise):
//     offset  0: uint32   Windows zone id ("Tokyo Standard Time"), pool offset
//     offset  4: uint32   the IANA zone CLDR names for that id ("001" row), current IANA name
//   C countries, 6 bytes each, sorted by code:
//     offset  0: char[2]  ISO 3166-1 alpha-2 code
//     offset  2: uint32   English name, pool offset
//   P places, 32 bytes each, the most populous first, then by GeoNames id:
//     offset  0: uint32   GeoNames id
//     offset  4: uint32   name, pool offset
//     offset  8: uint32   ASCII name, pool offset
//     offset 12: uint32   first-level division code (GeoNames admin1, may be empty), pool offset
//     offset 16: int32    latitude in 1e-5 degrees, north positive
//     offset 20: int32    longitude in 1e-5 degrees, east positive
//     offset 24: uint32   population
//     offset 28: char[2]  country code, one of the country table's
//     offset 30: uint16   zone index
//   the string pool, S bytes: NUL-terminated UTF-8 strings.
//
// The file's size is exactly 20 + 8 Z + 6 C + 32 P + S.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

constexpr uint16_t kWorldPlacesVersion = 1;
constexpr std::size_t kWorldPlacesHeaderSize = 20;
constexpr std::size_t kWorldZoneRecordSize = 8;
constexpr std::size_t kWorldCountryRecordSize = 6;
constexpr std::size_t kWorldPlaceRecordSize = 32;
// Steps of the stored coordinates per degree.
constexpr double kWorldPlacesCoordinateSteps = 1e5;

struct WorldZone {
    std::string_view windowsId;
    std::string_view ianaZone;
};

struct WorldCountry {
    char code[3] = {};  // ISO 3166-1 alpha-2, NUL-terminated
    std::string_view name;
};

// A place as the file holds it. The texts point into the WorldPlaces (or the table handed to
// EncodeWorldPlaces) they come from.
struct WorldPlace {
    uint32_t geonamesId = 0;
    std::string_view name;       // UTF-8, as GeoNames writes it ("Łódź")
    std::string_view asciiName;  // GeoNames' ASCII form ("Lodz")
    std::string_view admin1;     // GeoNames' first-level division code, may be empty
    char country[3] = {};        // ISO 3166-1 alpha-2, NUL-terminated
    double latitude = 0;         // degrees, north positive
    double longitude = 0;        // degrees, east positive
    uint32_t population = 0;
    uint16_t zone = 0;           // index of its zone
};

// The file's bytes for these zones, countries and places, written in the order given. The
// coordinates are rounded to the file's 1e-5 degrees.
std::vector<unsigned char> EncodeWorldPlaces(const std::vector<WorldZone>& zones,
                                             const std::vector<WorldCountry>& countries,
                                             const std::vector<WorldPlace>& places);

enum class WorldPlacesCheck {
    Missing,       // the file cannot be opened or read
    NotPlaces,     // shorter than a header, or not this file's mark
    NewerVersion,  // a layout this program does not know
    Damaged,       // sizes that disagree, or a zone, country or place that cannot be right
    Sound,
};

// The whole database, checked as a whole when it is loaded: until a load returns Sound it holds
// no zone and no place.
class WorldPlaces {
public:
    WorldPlacesCheck load(std::vector<unsigned char> bytes);
    WorldPlacesCheck loadFile(const std::string& path);

    std::size_t zoneCount() const { return zoneCount_; }
    std::size_t countryCount() const { return countryCount_; }
    std::size_t placeCount() const { return placeCount_; }
    WorldZone zone(std::size_t index) const;
    WorldCountry country(std::size_t index) const;
    WorldPlace place(std::size_t index) const;

    // The index of the zone with this Windows id (as Windows spells it, case and all), or -1.
    int findZone(std::string_view windowsId) const;
    // The name of the country with this code (two capitals), or empty for none.
    std::string_view countryName(std::string_view code) const;

private:
    void clear();
    bool recordsAreSound() const;
    // The pool's string whose offset is at `offsetField`; false when it lies outside the pool or
    // is not UTF-8.
    bool text(const unsigned char* offsetField, std::string_view& found) const;
    const unsigned char* countries() const;
    const unsigned char* places() const;
    const char* pool() const;

    std::vector<unsigned char> bytes_;
    std::size_t zoneCount_ = 0;
    std::size_t countryCount_ = 0;
    std::size_t placeCount_ = 0;
};
