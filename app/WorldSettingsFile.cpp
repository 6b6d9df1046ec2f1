#include "app/WorldSettingsFile.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <functional>
#include <optional>

namespace {

const char kHome[] = "Home";
const char kDisplay[] = "Display";
const char kShowPlaces[] = "ShowPlaces";
const char kTwilightBands[] = "TwilightBands";
const char kPlacePrefix[] = "Place";
const char kName[] = "Name";
const char kLatitude[] = "Latitude";
const char kLongitude[] = "Longitude";
const char kTimeZone[] = "TimeZone";
const char kShow[] = "Show";
// The longest key name the registry allows, which a zone id names.
constexpr std::size_t kLongestZoneId = 255;

// A Windows zone id names a key under the registry's Time Zones: no path of keys.
bool IsZoneId(std::string_view id) {
    return !id.empty() && id.size() <= kLongestZoneId && id.find('\\') == std::string_view::npos;
}

// A decimal number of degrees within +-limit ("+" allowed, as people write north and east).
std::optional<double> Degrees(std::string_view text, double limit) {
    if (text.size() > 1 && text[0] == '+' && text[1] != '-' && text[1] != '+') text.remove_prefix(1);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
    if (std::fabs(value) > limit) return std::nullopt;
    return value;
}

std::string DegreesText(double value) {
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

const char* SwitchText(bool on) { return on ? "1" : "0"; }

// A switch whose missing key means `byDefault`.
std::optional<bool> Switch(const IniEntry* entry, bool byDefault) {
    if (entry == nullptr) return byDefault;
    if (entry->value == "1") return true;
    if (entry->value == "0") return false;
    return std::nullopt;
}

// The number of a place's section ("Place7": 7); 0 for any other section.
int PlaceNumber(std::string_view section) {
    const std::size_t prefix = sizeof kPlacePrefix - 1;
    if (section.size() <= prefix || section.size() > prefix + 6 || section[prefix] == '0') return 0;
    for (std::size_t i = 0; i < prefix; ++i) {
        if ((section[i] | 0x20) != (kPlacePrefix[i] | 0x20)) return 0;
    }
    int number = 0;
    for (char c : section.substr(prefix)) {
        if (c < '0' || c > '9') return 0;
        number = number * 10 + (c - '0');
    }
    return number;
}

std::string PlaceSectionName(std::size_t index) { return kPlacePrefix + std::to_string(index + 1); }

struct PlaceSection {
    std::string name;
    int number = 0;
    int line = 0;
    std::optional<PlaceSetting> place;  // none: a value is missing or cannot be taken
    std::vector<int> badLines;
};

PlaceSection ReadPlace(const IniFile& file, const IniSection& section) {
    PlaceSection read{section.name, PlaceNumber(section.name), section.line, std::nullopt, {}};
    PlaceSetting place;
    const auto take = [&](const char* key, auto parse) {
        const IniEntry* entry = file.find(section.name, key);
        if (entry == nullptr) {
            read.badLines.push_back(section.line);
        } else if (!parse(entry)) {
            read.badLines.push_back(entry->line);
        }
    };
    take(kName, [&](const IniEntry* e) { place.name = e->value; return !e->value.empty(); });
    take(kLatitude, [&](const IniEntry* e) {
        const std::optional<double> value = Degrees(e->value, 90);
        place.latitude = value.value_or(0);
        return value.has_value();
    });
    take(kLongitude, [&](const IniEntry* e) {
        const std::optional<double> value = Degrees(e->value, 180);
        place.longitude = value.value_or(0);
        return value.has_value();
    });
    take(kTimeZone, [&](const IniEntry* e) { place.timeZone = e->value; return IsZoneId(e->value); });
    const IniEntry* show = file.find(section.name, kShow);
    if (const std::optional<bool> on = Switch(show, true)) {
        place.show = *on;
    } else {
        read.badLines.push_back(show->line);
    }
    std::sort(read.badLines.begin(), read.badLines.end());
    read.badLines.erase(std::unique(read.badLines.begin(), read.badLines.end()), read.badLines.end());
    if (read.badLines.empty()) read.place = place;
    return read;
}

// The places' sections in the order of their numbers (of equal numbers, the first in the file).
std::vector<PlaceSection> PlaceSections(const IniFile& file) {
    std::vector<PlaceSection> places;
    for (const IniSection& section : file.sections()) {
        if (PlaceNumber(section.name) > 0) places.push_back(ReadPlace(file, section));
    }
    std::stable_sort(places.begin(), places.end(),
                     [](const PlaceSection& a, const PlaceSection& b) { return a.number < b.number; });
    return places;
}

// Writes the fields of `place` that differ from `was` (all of them when there was none).
void WritePlace(const PlaceSetting& place, const std::optional<PlaceSetting>& was, const std::string& section,
                IniFile& file) {
    if (!was || was->name != place.name) file.set(section, kName, place.name);
    if (!was || was->latitude != place.latitude) file.set(section, kLatitude, DegreesText(place.latitude));
    if (!was || was->longitude != place.longitude) file.set(section, kLongitude, DegreesText(place.longitude));
    if (!was || was->timeZone != place.timeZone) file.set(section, kTimeZone, place.timeZone);
    if (!was || was->show != place.show) file.set(section, kShow, SwitchText(place.show));
}

// For each place of the list, the section of the file it was read from, when it is still there:
// the same place, else one of the same name, else one at the same spot in the same zone.
std::vector<std::optional<std::size_t>> MatchPlaces(const std::vector<PlaceSetting>& places,
                                                    const std::vector<PlaceSection>& sections,
                                                    const std::vector<std::size_t>& taken) {
    std::vector<std::optional<std::size_t>> matched(places.size());
    std::vector<bool> used(sections.size(), false);
    const std::function<bool(const PlaceSetting&, const PlaceSetting&)> alike[] = {
        [](const PlaceSetting& a, const PlaceSetting& b) { return a == b; },
        [](const PlaceSetting& a, const PlaceSetting& b) { return a.name == b.name; },
        [](const PlaceSetting& a, const PlaceSetting& b) {
            return a.latitude == b.latitude && a.longitude == b.longitude && a.timeZone == b.timeZone;
        },
    };
    for (const auto& same : alike) {
        for (std::size_t i = 0; i < places.size(); ++i) {
            for (std::size_t k = 0; k < taken.size() && !matched[i]; ++k) {
                const std::size_t section = taken[k];
                if (used[section] || !same(places[i], *sections[section].place)) continue;
                used[section] = true;
                matched[i] = section;
            }
        }
    }
    return matched;
}

void WritePlaces(const std::vector<PlaceSetting>& places, IniFile& file) {
    const std::vector<PlaceSection> sections = PlaceSections(file);
    // The sections the reading took the places from, and those it left out.
    std::vector<std::size_t> taken, leftOut;
    for (std::size_t i = 0; i < sections.size(); ++i) {
        (sections[i].place && taken.size() < kMostWorldPlaces ? taken : leftOut).push_back(i);
    }
    const std::vector<std::optional<std::size_t>> matched = MatchPlaces(places, sections, taken);

    int at = file.lineCount() + 1;
    for (const PlaceSection& section : sections) at = std::min(at, section.line);
    std::vector<IniFile> pieces;
    for (const PlaceSection& section : sections) pieces.push_back(file.takeSection(section.name));

    IniFile written;
    for (std::size_t i = 0; i < places.size(); ++i) {
        const std::string name = PlaceSectionName(i);
        IniFile piece;
        std::optional<PlaceSetting> was;
        if (matched[i]) {
            piece = pieces[*matched[i]];
            piece.renameSection(sections[*matched[i]].name, name);
            was = sections[*matched[i]].place;
        }
        WritePlace(places[i], was, name, piece);
        written.insert(written.lineCount() + 1, piece);
    }
    for (std::size_t k = 0; k < leftOut.size(); ++k) {
        IniFile& piece = pieces[leftOut[k]];
        piece.renameSection(sections[leftOut[k]].name, PlaceSectionName(places.size() + k));
        written.insert(written.lineCount() + 1, piece);
    }
    file.insert(at, written);
}

}  // namespace

WorldSettings ReadWorldSettings(const IniFile& file, std::vector<int>& skippedLines) {
    WorldSettings settings;
    if (const IniEntry* zone = file.find(kHome, kTimeZone); zone != nullptr && !zone->value.empty()) {
        if (IsZoneId(zone->value)) {
            settings.homeTimeZone = zone->value;
        } else {
            skippedLines.push_back(zone->line);
        }
    }
    const auto readSwitch = [&](const char* key, bool& value) {
        const IniEntry* entry = file.find(kDisplay, key);
        if (const std::optional<bool> on = Switch(entry, value)) {
            value = *on;
        } else {
            skippedLines.push_back(entry->line);
        }
    };
    readSwitch(kShowPlaces, settings.showPlaces);
    readSwitch(kTwilightBands, settings.twilightBands);
    for (const PlaceSection& section : PlaceSections(file)) {
        if (!section.place) {
            skippedLines.insert(skippedLines.end(), section.badLines.begin(), section.badLines.end());
        } else if (settings.places.size() < kMostWorldPlaces) {
            settings.places.push_back(*section.place);
        } else {
            skippedLines.push_back(section.line);
        }
    }
    return settings;
}

void WriteWorldSettings(const WorldSettings& settings, IniFile& file) {
    std::vector<int> skipped;
    const WorldSettings held = ReadWorldSettings(file, skipped);
    if (settings.homeTimeZone != held.homeTimeZone) {
        if (settings.homeTimeZone.empty()) {
            file.remove(kHome, kTimeZone);
        } else {
            file.set(kHome, kTimeZone, settings.homeTimeZone);
        }
    }
    if (settings.showPlaces != held.showPlaces) file.set(kDisplay, kShowPlaces, SwitchText(settings.showPlaces));
    if (settings.twilightBands != held.twilightBands) {
        file.set(kDisplay, kTwilightBands, SwitchText(settings.twilightBands));
    }
    if (settings.places != held.places) WritePlaces(settings.places, file);
}

bool LoadWorldSettings(const std::string& iniPath, WorldSettings& out) {
    IniFile file;
    const bool read = ReadIniFile(iniPath, file);
    std::vector<int> skipped;
    out = ReadWorldSettings(file, skipped);
    return read;
}
