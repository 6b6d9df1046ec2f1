// Makes "WorldPlaces.bin", the world places database (layout in location/WorldPlaces.h), from
// the GeoNames "cities500" table, CLDR's time zone tables and the English country names of the
// npm package i18n-iso-countries (langs/en.json; where it gives several, the first).
//
// usage: make_worldplaces cities500.txt windowsZones.json timezone.json en.json WorldPlaces.bin
//
// Kept: the populated places that still stand (feature class P; not historical, abandoned or
// destroyed) of 15,000 people or more, and every national capital (feature code PPLC).
// Each place's IANA zone becomes a Windows zone id through windowsZones.json's row for the
// place's country that lists the zone; when none lists it under GeoNames' name, under another
// name of the same zone (timezone.json's aliases: GeoNames writes "Asia/Kolkata" and
// "Europe/Kyiv" where CLDR's rows keep "Asia/Calcutta" and "Europe/Kiev"); and when the
// country's rows lack the zone altogether (GeoNames puts northern Vietnam in "Asia/Bangkok" and
// Kosovo in "Europe/Belgrade"), through the row of the country that lists it. A place left
// without a Windows id, or a kept line that cannot be read, fails the build with its name.
// The zone table holds every Windows id of the rows for the whole world ("001"), each with the
// current IANA name of that row's zone. Every country of the names table is written, and a
// place of a country it lacks fails the build. Places are written the most populous first, then by
// GeoNames id, so the same sources always give the same bytes.
#include "location/Utf8Text.h"
#include "location/WorldPlaces.h"
#include "tools/places/GeoNamesTable.h"
#include "tools/places/JsonValue.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <deque>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr uint32_t kLeastPopulation = 15000;
constexpr std::size_t kColumnsNeeded = kTimeZone + 1;

std::string ReadWhole(const char* path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error(std::string("cannot open ") + path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> SplitBlanks(const std::string& text) {
    std::vector<std::string> words;
    std::istringstream in(text);
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

const JsonValue& Path(const JsonValue& root, std::initializer_list<const char*> keys, const char* file) {
    const JsonValue* value = &root;
    for (const char* key : keys) {
        value = value->Member(key);
        if (value == nullptr) throw std::runtime_error(std::string(file) + ": no member " + key);
    }
    return *value;
}

std::string MemberText(const JsonValue& object, const char* key) {
    const JsonValue* value = object.Member(key);
    return value != nullptr && value->kind == JsonValue::kString ? value->text : std::string();
}

// Each IANA zone name with every other name of the same zone, and its current name.
struct ZoneAliases {
    std::map<std::string, std::size_t> groupOf;
    std::vector<std::vector<std::string>> names;
    std::vector<std::string> current;

    explicit ZoneAliases(const JsonValue& root) {
        const JsonValue& zones = Path(root, {"keyword", "u", "tz"}, "timezone.json");
        for (const auto& [key, entry] : zones.members) {
            if (key.empty() || key[0] == '_') continue;
            const std::vector<std::string> aliases = SplitBlanks(MemberText(entry, "_alias"));
            if (aliases.empty()) continue;  // a deprecated key that points to another
            const std::string iana = MemberText(entry, "_iana");
            for (const std::string& name : aliases) groupOf[name] = names.size();
            names.push_back(aliases);
            current.push_back(iana.empty() ? aliases.front() : iana);
        }
    }

    const std::vector<std::string>& NamesOf(const std::string& zone) const {
        static const std::vector<std::string> kNone;
        const auto group = groupOf.find(zone);
        return group == groupOf.end() ? kNone : names[group->second];
    }
    std::string CurrentName(const std::string& zone) const {
        const auto group = groupOf.find(zone);
        return group == groupOf.end() ? zone : current[group->second];
    }
};

// windowsZones.json: the Windows id of (territory, IANA zone) for every row but the world's,
// and the world's rows ("001") as the zone table.
struct WindowsZones {
    std::map<std::pair<std::string, std::string>, std::string> byCountry;
    std::map<std::string, std::string> worldZone;   // Windows id -> the world row's IANA zone
    std::map<std::string, std::string> anyCountry;  // IANA zone -> the Windows id of its rows

    explicit WindowsZones(const JsonValue& root) {
        const JsonValue& rows = Path(root, {"supplemental", "windowsZones", "mapTimezones"}, "windowsZones.json");
        for (const JsonValue& row : rows.items) {
            const JsonValue& zone = Path(row, {"mapZone"}, "windowsZones.json");
            const std::string windowsId = MemberText(zone, "_other");
            const std::string territory = MemberText(zone, "_territory");
            const std::vector<std::string> ianaZones = SplitBlanks(MemberText(zone, "_type"));
            if (windowsId.empty() || territory.empty() || ianaZones.empty()) {
                throw std::runtime_error("windowsZones.json: a row without its id, territory or zone");
            }
            if (territory == "001") {
                worldZone[windowsId] = ianaZones.front();
                continue;
            }
            for (const std::string& iana : ianaZones) {
                byCountry[{territory, iana}] = windowsId;
                const auto [row, added] = anyCountry.emplace(iana, windowsId);
                if (!added && row->second != windowsId) {
                    throw std::runtime_error("windowsZones.json: " + iana + " is both " + row->second + " and " + windowsId);
                }
            }
        }
        for (const auto& [key, windowsId] : byCountry) {
            if (worldZone.count(windowsId) == 0) {
                throw std::runtime_error("windowsZones.json: no world row for " + windowsId);
            }
        }
    }

    // The Windows id the country's rows give the zone under this name, or empty.
    std::string Find(const std::string& country, const std::string& iana) const {
        const auto row = byCountry.find({country, iana});
        return row == byCountry.end() ? std::string() : row->second;
    }
    // The Windows id of the rows of any country that list the zone under this name, or empty.
    std::string FindAnywhere(const std::string& iana) const {
        const auto row = anyCountry.find(iana);
        return row == anyCountry.end() ? std::string() : row->second;
    }
};

// langs/en.json: each ISO code's English name (the first where several are given).
std::map<std::string, std::string> CountryNames(const JsonValue& root) {
    std::map<std::string, std::string> names;
    for (const auto& [code, value] : Path(root, {"countries"}, "en.json").members) {
        const JsonValue& name = value.kind == JsonValue::kArray && !value.items.empty() ? value.items.front() : value;
        if (code.size() != 2 || name.kind != JsonValue::kString || name.text.empty()) {
            throw std::runtime_error("en.json: no name for the country " + code);
        }
        names[code] = name.text;
    }
    return names;
}

struct Source {
    std::string name, asciiName, admin1, country;
    double latitude = 0, longitude = 0;
    uint32_t geonamesId = 0, population = 0;
    std::string windowsId;
};

bool ParseCount(const std::string& text, uint32_t& value) {
    double number = 0;
    if (!ParseNumber(text, number) || number < 0 || number > 4294967295.0 || number != std::floor(number)) return false;
    value = static_cast<uint32_t>(number);
    return true;
}

// A kept line as a place; false when one of its fields cannot be right.
bool ReadPlace(const std::vector<std::string>& fields, Source& place) {
    place.name = fields[kName];
    place.asciiName = fields[kAsciiName];
    place.admin1 = fields[kAdmin1];
    place.country = fields[kCountry];
    const bool coordinates = ParseNumber(fields[kLatitude], place.latitude) &&
                             ParseNumber(fields[kLongitude], place.longitude) &&
                             std::fabs(place.latitude) <= 90 && std::fabs(place.longitude) <= 180;
    const bool country = place.country.size() == 2 && std::isupper(static_cast<unsigned char>(place.country[0])) &&
                         std::isupper(static_cast<unsigned char>(place.country[1]));
    return coordinates && country && ParseCount(fields[kGeoNamesId], place.geonamesId) &&
           !place.name.empty() && !place.asciiName.empty() && IsUtf8(place.name) && IsUtf8(place.asciiName) &&
           IsUtf8(place.admin1) && !fields[kTimeZone].empty();
}

// How the places' zones were found, for the tool's report.
struct ZoneMatches {
    std::size_t notUnderItsName = 0;        // not in the country's rows under GeoNames' name
    std::size_t notUnderAnyName = 0;        // nor under another name of the zone
    std::set<std::string> otherCountries;   // "country zone" pairs taken from another country's rows
};

// The Windows id of a place's zone: from its country's rows under GeoNames' name of the zone,
// else under another name of it, else from the rows of the country that lists the zone. Empty
// when none does.
std::string WindowsIdOf(const std::string& country, const std::string& zone, const WindowsZones& windowsZones,
                        const ZoneAliases& aliases, ZoneMatches& matches) {
    std::string windowsId = windowsZones.Find(country, zone);
    if (!windowsId.empty()) return windowsId;
    ++matches.notUnderItsName;
    for (const std::string& alias : aliases.NamesOf(zone)) {
        if (windowsId.empty()) windowsId = windowsZones.Find(country, alias);
    }
    if (!windowsId.empty()) return windowsId;
    ++matches.notUnderAnyName;
    windowsId = windowsZones.FindAnywhere(zone);
    for (const std::string& alias : aliases.NamesOf(zone)) {
        if (windowsId.empty()) windowsId = windowsZones.FindAnywhere(alias);
    }
    if (!windowsId.empty()) matches.otherCountries.insert(country + " " + zone);
    return windowsId;
}

int Run(char** argv) {
    const WindowsZones windowsZones(JsonReader::Parse(ReadWhole(argv[2])));
    const ZoneAliases aliases(JsonReader::Parse(ReadWhole(argv[3])));
    const std::map<std::string, std::string> countryNames = CountryNames(JsonReader::Parse(ReadWhole(argv[4])));

    std::vector<Source> places;
    std::vector<std::string> problems;
    ZoneMatches matches;
    const GeoNamesRead read = ReadGeoNamesTable(argv[1], kColumnsNeeded, [&](const std::vector<std::string>& fields,
                                                                             std::size_t lineNumber) {
        uint32_t population = 0;
        const bool capital = fields[kFeatureCode] == "PPLC";
        if (!IsSettlement(fields[kFeatureClass], fields[kFeatureCode])) return;
        if (!ParseCount(fields[kPopulation], population)) population = 0;
        if (population < kLeastPopulation && !capital) return;
        Source place;
        place.population = population;
        if (!ReadPlace(fields, place)) {
            problems.push_back("cannot read the place of line " + std::to_string(lineNumber) + " (" + fields[kName] + ")");
            return;
        }
        if (countryNames.count(place.country) == 0) {
            problems.push_back("no name for the country of " + place.name + " (GeoNames " + fields[kGeoNamesId] +
                               ", " + place.country + ")");
            return;
        }
        place.windowsId = WindowsIdOf(place.country, fields[kTimeZone], windowsZones, aliases, matches);
        if (place.windowsId.empty()) {
            problems.push_back("no Windows zone for " + place.name + " (GeoNames " + fields[kGeoNamesId] + ", " +
                               place.country + ", " + fields[kTimeZone] + ")");
            return;
        }
        places.push_back(place);
    });
    if (!read.opened || read.failed) {
        throw std::runtime_error(std::string(read.opened ? "cannot read " : "cannot open ") + argv[1]);
    }
    for (const std::string& problem : problems) std::fprintf(stderr, "make_worldplaces: %s\n", problem.c_str());
    if (!problems.empty() || places.empty()) {
        std::fprintf(stderr, "make_worldplaces: %zu places could not be taken\n", problems.size());
        return 1;
    }

    std::sort(places.begin(), places.end(), [](const Source& a, const Source& b) {
        return a.population != b.population ? a.population > b.population : a.geonamesId < b.geonamesId;
    });
    std::vector<WorldZone> zones;
    std::deque<std::string> ianaNames;  // the texts the zone table points to
    std::map<std::string, uint16_t> zoneIndex;
    for (const auto& [windowsId, iana] : windowsZones.worldZone) {
        zoneIndex[windowsId] = static_cast<uint16_t>(zones.size());
        ianaNames.push_back(aliases.CurrentName(iana));
        zones.push_back({windowsId, ianaNames.back()});
    }
    std::vector<WorldCountry> countries;
    for (const auto& [code, name] : countryNames) {
        WorldCountry country;
        country.code[0] = code[0];
        country.code[1] = code[1];
        country.name = name;
        countries.push_back(country);
    }
    std::vector<WorldPlace> records;
    for (const Source& source : places) {
        WorldPlace place;
        place.geonamesId = source.geonamesId;
        place.name = source.name;
        place.asciiName = source.asciiName;
        place.admin1 = source.admin1;
        place.country[0] = source.country[0];
        place.country[1] = source.country[1];
        place.latitude = source.latitude;
        place.longitude = source.longitude;
        place.population = source.population;
        place.zone = zoneIndex.at(source.windowsId);
        records.push_back(place);
    }
    const std::vector<unsigned char> bytes = EncodeWorldPlaces(zones, countries, records);
    std::ofstream out(argv[5], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    out.close();
    if (!out) {
        std::remove(argv[5]);
        throw std::runtime_error(std::string("cannot write ") + argv[5]);
    }
    std::printf("make_worldplaces: %zu places, %zu zones, %zu countries, %zu bytes (%zu lines read, %zu too short)\n",
                records.size(), zones.size(), countries.size(), bytes.size(), read.lines, read.shortLines);
    std::printf("make_worldplaces: %zu places not in their country's rows under GeoNames' zone name, "
                "%zu of them not under another name either; those take the zone's row of another country:",
                matches.notUnderItsName, matches.notUnderAnyName);
    for (const std::string& pair : matches.otherCountries) std::printf(" %s;", pair.c_str());
    std::printf("\n");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 6) {
        std::fprintf(stderr, "usage: make_worldplaces cities500.txt windowsZones.json timezone.json en.json WorldPlaces.bin\n");
        return 2;
    }
    try {
        return Run(argv);
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "make_worldplaces: %s\n", failure.what());
        return 1;
    }
}
