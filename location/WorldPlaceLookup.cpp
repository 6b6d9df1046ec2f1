#include "location/WorldPlaceLookup.h"

#include "location/Utf8Text.h"

#include <algorithm>
#include <tuple>

namespace {

enum NameMatch { kExact, kPrefix, kNoMatch };

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

// How `name` compares with the folded code points of the query.
NameMatch Match(std::string_view name, const std::u32string& query) {
    std::size_t i = 0, k = 0;
    uint32_t c = 0;
    while (i < name.size()) {
        if (k == query.size()) return kPrefix;
        if (!NextCodePoint(name, i, c) || FoldCase(c) != query[k]) return kNoMatch;
        ++k;
    }
    return k == query.size() ? kExact : kNoMatch;
}

}  // namespace

PlaceQuery ReadPlaceQuery(std::string_view typed) {
    PlaceQuery query;
    std::string_view name = Trimmed(typed);
    const std::size_t comma = name.rfind(',');
    if (comma != std::string_view::npos) {
        const std::string_view code = Trimmed(name.substr(comma + 1));
        if (code.size() == 2 && IsAsciiLetter(code[0]) && IsAsciiLetter(code[1])) {
            for (char c : code) query.country += static_cast<char>(c >= 'a' ? c - 32 : c);
            name = Trimmed(name.substr(0, comma));
        }
    }
    query.name = std::string(name);
    return query;
}

std::vector<std::size_t> FindWorldPlaces(const WorldPlaces& places, std::string_view typed, std::size_t most) {
    const PlaceQuery query = ReadPlaceQuery(typed);
    std::u32string folded;
    uint32_t c = 0;
    for (std::size_t i = 0; i < query.name.size();) {
        if (!NextCodePoint(query.name, i, c)) return {};
        folded += static_cast<char32_t>(FoldCase(c));
    }
    if (folded.empty()) return {};

    struct Found {
        NameMatch match;
        uint32_t population;
        uint32_t geonamesId;
        std::size_t index;
    };
    std::vector<Found> found;
    for (std::size_t i = 0; i < places.placeCount(); ++i) {
        const WorldPlace place = places.place(i);
        if (!query.country.empty() && query.country != place.country) continue;
        const NameMatch match = std::min(Match(place.name, folded), Match(place.asciiName, folded));
        if (match != kNoMatch) found.push_back({match, place.population, place.geonamesId, i});
    }
    std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
        return std::make_tuple(a.match, b.population, a.geonamesId) <
               std::make_tuple(b.match, a.population, b.geonamesId);
    });
    std::vector<std::size_t> indices;
    for (std::size_t i = 0; i < found.size() && i < most; ++i) indices.push_back(found[i].index);
    return indices;
}
