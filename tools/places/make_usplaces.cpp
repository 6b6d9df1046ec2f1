// Makes "USPlaces.bin", the United States places database, from the GeoNames "cities500"
// table (tab-separated, UTF-8; one populated place of 500 or more people a line).
//
// usage: make_usplaces cities500.txt USPlaces.bin
//
// Kept: populated places (feature class P; not the historical, abandoned or destroyed ones)
// of the United States, filed under their state or the District of Columbia by the admin1
// code, and of American Samoa, Guam, the Northern Mariana Islands, Palau, Puerto Rico and
// the US Virgin Islands, filed by their country code. Names are converted to Windows-1252;
// a name holding a character that code page lacks is replaced by GeoNames' ASCII form of it,
// and failing that the character is left out. Names are cut to 43 bytes. Records are written
// sorted by state index, then name, latitude and longitude, with exact repeats dropped, so the
// same table always gives the same bytes.
#include "location/USPlaces.h"
#include "location/USStates.h"
#include "location/Utf8Text.h"
#include "tools/places/GeoNamesTable.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kColumnsNeeded = kAdmin1 + 1;

// The row of the state table the place belongs to, or -1 for a place outside it.
int StateOf(const std::string& country, const std::string& admin1) {
    if (country == "US") return admin1.size() == 2 ? USStateIndex(admin1.c_str()) : -1;
    static const char* const kTerritories[] = {"AS", "GU", "MP", "PW", "PR", "VI"};
    for (const char* territory : kTerritories) {
        if (country == territory) return USStateIndex(territory);
    }
    return -1;
}

// The Windows-1252 byte of code point `c`, or -1 when the code page lacks it.
int Windows1252Byte(uint32_t c) {
    if (c < 0x80) return static_cast<int>(c);
    if (c >= 0xA0 && c <= 0xFF) return static_cast<int>(c);
    static const struct { uint32_t code; unsigned char byte; } kHigh[] = {
        {0x20AC, 0x80}, {0x201A, 0x82}, {0x0192, 0x83}, {0x201E, 0x84}, {0x2026, 0x85},
        {0x2020, 0x86}, {0x2021, 0x87}, {0x02C6, 0x88}, {0x2030, 0x89}, {0x0160, 0x8A},
        {0x2039, 0x8B}, {0x0152, 0x8C}, {0x017D, 0x8E}, {0x2018, 0x91}, {0x2019, 0x92},
        {0x201C, 0x93}, {0x201D, 0x94}, {0x2022, 0x95}, {0x2013, 0x96}, {0x2014, 0x97},
        {0x02DC, 0x98}, {0x2122, 0x99}, {0x0161, 0x9A}, {0x203A, 0x9B}, {0x0153, 0x9C},
        {0x017E, 0x9E}, {0x0178, 0x9F},
    };
    for (const auto& entry : kHigh) {
        if (entry.code == c) return entry.byte;
    }
    return -1;
}

// `text` in Windows-1252; `complete` is false when some character had to be left out.
std::string ToWindows1252(const std::string& text, bool& complete) {
    std::string out;
    complete = true;
    for (std::size_t i = 0; i < text.size();) {
        uint32_t c = 0;
        const int b = NextCodePoint(text, i, c) ? Windows1252Byte(c) : -1;
        if (b < 0) {
            complete = false;
        } else if (b >= 0x20 && b != 0x7F) {
            out += static_cast<char>(b);
        }
    }
    return out;
}

bool IsPlainAscii(const std::string& text) {
    if (text.empty()) return false;
    for (unsigned char c : text) {
        if (c < 0x20 || c >= 0x7F) return false;
    }
    return true;
}

std::string PlaceName(const std::string& name, const std::string& asciiName) {
    bool complete = false;
    std::string out = ToWindows1252(name, complete);
    if (!complete && IsPlainAscii(asciiName)) out = asciiName;
    if (out.size() > kUSPlaceNameSize - 1) out.resize(kUSPlaceNameSize - 1);
    while (!out.empty() && out.back() == ' ') out.pop_back();
    while (!out.empty() && out.front() == ' ') out.erase(out.begin());
    return out;
}

bool Before(const USPlace& a, const USPlace& b) {
    if (a.state != b.state) return a.state < b.state;
    const int byName = std::strcmp(a.name, b.name);
    if (byName != 0) return byName < 0;
    if (a.latitude != b.latitude) return a.latitude < b.latitude;
    return a.longitude < b.longitude;
}

bool Same(const USPlace& a, const USPlace& b) {
    return a.state == b.state && std::strcmp(a.name, b.name) == 0 &&
           a.latitude == b.latitude && a.longitude == b.longitude;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_usplaces cities500.txt USPlaces.bin\n");
        return 2;
    }
    std::vector<USPlace> places;
    std::size_t malformed = 0, renamed = 0;
    const GeoNamesRead read = ReadGeoNamesTable(argv[1], kColumnsNeeded, [&](const std::vector<std::string>& fields, std::size_t) {
        const int state = StateOf(fields[kCountry], fields[kAdmin1]);
        if (state < 0 || !IsSettlement(fields[kFeatureClass], fields[kFeatureCode])) return;
        USPlace place;
        place.state = state;
        if (!ParseNumber(fields[kLatitude], place.latitude) ||
            !ParseNumber(fields[kLongitude], place.longitude) ||
            std::fabs(place.latitude) > 90 || std::fabs(place.longitude) > 180) {
            ++malformed;
            return;
        }
        const std::string name = PlaceName(fields[kName], fields[kAsciiName]);
        if (name.empty()) {
            ++malformed;
            return;
        }
        bool complete = false;
        if (ToWindows1252(fields[kName], complete) != name) ++renamed;
        std::memcpy(place.name, name.data(), name.size());
        places.push_back(place);
    });
    if (!read.opened || read.failed) {
        std::fprintf(stderr, "make_usplaces: cannot %s %s\n", read.opened ? "read" : "open", argv[1]);
        return 1;
    }
    malformed += read.shortLines;
    std::sort(places.begin(), places.end(), Before);
    places.erase(std::unique(places.begin(), places.end(), Same), places.end());
    if (places.empty()) {
        std::fprintf(stderr, "make_usplaces: no United States places in %s\n", argv[1]);
        return 1;
    }

    std::vector<unsigned char> bytes(places.size() * kUSPlaceRecordSize);
    std::vector<std::size_t> perState(kUSStateCount, 0);
    for (std::size_t i = 0; i < places.size(); ++i) {
        EncodeUSPlace(places[i], &bytes[i * kUSPlaceRecordSize]);
        ++perState[places[i].state];
    }
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "make_usplaces: cannot write %s\n", argv[2]);
        std::remove(argv[2]);
        return 1;
    }

    int covered = 0;
    for (int s = 0; s < kUSStateCount; ++s) {
        if (perState[s] > 0) {
            ++covered;
        } else {
            std::fprintf(stderr, "make_usplaces: warning: no places for %s (%s)\n",
                         kUSStates[s].abbreviation, kUSStates[s].name);
        }
    }
    std::printf("make_usplaces: %zu places in %d of %d states and territories "
                "(%zu lines read, %zu malformed, %zu names in their ASCII form or shortened)\n",
                places.size(), covered, kUSStateCount, read.lines, malformed, renamed);
    return 0;
}
