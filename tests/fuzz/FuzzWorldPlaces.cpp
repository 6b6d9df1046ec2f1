// "WorldPlaces.bin" of any content: a file that loads has every zone, country and place
// readable, with texts that are UTF-8, coordinates on the Earth, a zone of the table and a
// country with a name; written again from what was read, it loads with the same places. The file
// reader agrees with the memory one. The same bytes as a typed place name, looked up in a small
// database, find each place once. A read out of bounds or a crash is a finding.
#include "FuzzSupport.h"

#include "location/Utf8Text.h"
#include "location/WorldPlaceLookup.h"
#include "location/WorldPlaces.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {

bool SamePlace(const WorldPlace& a, const WorldPlace& b) {
    return a.geonamesId == b.geonamesId && a.name == b.name && a.asciiName == b.asciiName &&
           a.admin1 == b.admin1 && std::string(a.country) == b.country && a.latitude == b.latitude &&
           a.longitude == b.longitude && a.population == b.population && a.zone == b.zone;
}

const WorldPlaces& SmallDatabase() {
    static const WorldPlaces database = [] {
        std::vector<WorldPlace> places(3);
        const char* names[][2] = {{"Łódź", "Lodz"}, {"Lod", "Lod"}, {"İzmir", "Izmir"}};
        for (uint32_t i = 0; i < places.size(); ++i) {
            places[i].geonamesId = i + 1;
            places[i].name = names[i][0];
            places[i].asciiName = names[i][1];
            places[i].country[0] = 'P';
            places[i].country[1] = 'L';
            places[i].population = 1000 * (i % 2);
        }
        WorldPlaces loaded;
        FUZZ_CHECK(loaded.load(EncodeWorldPlaces({{"UTC", "Etc/UTC"}}, {{"PL", "Poland"}}, places)) ==
                   WorldPlacesCheck::Sound);
        return loaded;
    }();
    return database;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    WorldPlaces places;
    const WorldPlacesCheck check = places.load(std::vector<unsigned char>(data, data + size));
    WorldPlaces fromFile;
    FUZZ_CHECK(fromFile.loadFile(MemoryFile(data, size)) == check);
    if (check == WorldPlacesCheck::Sound) {
        std::vector<WorldZone> zones;
        for (std::size_t i = 0; i < places.zoneCount(); ++i) {
            zones.push_back(places.zone(i));
            FUZZ_CHECK(!zones.back().windowsId.empty() && IsUtf8(zones.back().windowsId));
            FUZZ_CHECK(places.findZone(zones.back().windowsId) == int(i));
        }
        std::vector<WorldCountry> countries;
        for (std::size_t i = 0; i < places.countryCount(); ++i) {
            countries.push_back(places.country(i));
            FUZZ_CHECK(!countries.back().name.empty() && IsUtf8(countries.back().name));
            FUZZ_CHECK(places.countryName(countries.back().code) == countries.back().name);
        }
        std::vector<WorldPlace> all;
        for (std::size_t i = 0; i < places.placeCount(); ++i) {
            const WorldPlace place = places.place(i);
            FUZZ_CHECK(!place.name.empty() && IsUtf8(place.name) && IsUtf8(place.asciiName) && IsUtf8(place.admin1));
            FUZZ_CHECK(std::fabs(place.latitude) <= 90 && std::fabs(place.longitude) <= 180);
            FUZZ_CHECK(place.zone < places.zoneCount() && !places.countryName(place.country).empty());
            FUZZ_CHECK(SamePlace(place, fromFile.place(i)));
            all.push_back(place);
        }
        WorldPlaces again;
        FUZZ_CHECK(again.load(EncodeWorldPlaces(zones, countries, all)) == WorldPlacesCheck::Sound);
        FUZZ_CHECK(again.placeCount() == places.placeCount());
        for (std::size_t i = 0; i < all.size(); ++i) FUZZ_CHECK(SamePlace(again.place(i), all[i]));
        for (std::size_t index : FindWorldPlaces(places, places.place(0).name, 8)) {
            FUZZ_CHECK(index < places.placeCount());
        }
    } else {
        FUZZ_CHECK(places.placeCount() == 0 && places.zoneCount() == 0);
    }

    const std::string typed(reinterpret_cast<const char*>(data), std::min<std::size_t>(size, 64));
    const WorldPlaces& small = SmallDatabase();
    const std::vector<std::size_t> found = FindWorldPlaces(small, typed);
    FUZZ_CHECK(found.size() <= small.placeCount());
    for (std::size_t i = 1; i < found.size(); ++i) FUZZ_CHECK(found[i] != found[i - 1]);
    return 0;
}
