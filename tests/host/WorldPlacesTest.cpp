// The world places database the build makes (real places, their Windows zones, the zone and
// country tables), the name lookup's rules on a small file made here, and damaged files.
#include "location/Utf8Text.h"
#include "location/WorldPlaceLookup.h"
#include "location/WorldPlaces.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

const WorldPlaces& Database() {
    static const WorldPlaces database = [] {
        WorldPlaces loaded;
        EXPECT_EQ(loaded.loadFile(SOLVANE_TEST_WORLDPLACES), WorldPlacesCheck::Sound);
        return loaded;
    }();
    return database;
}

std::vector<uint32_t> FoundIds(const WorldPlaces& places, const std::string& typed) {
    std::vector<uint32_t> ids;
    for (std::size_t index : FindWorldPlaces(places, typed)) ids.push_back(places.place(index).geonamesId);
    return ids;
}

TEST(WorldPlaces, RealPlacesWithTheirWindowsZones) {
    struct Row {
        const char* typed;
        uint32_t geonamesId;
        const char* name;
        const char* asciiName;
        const char* country;
        const char* admin1;
        double latitude, longitude;
        const char* windowsId;
    };
    const Row rows[] = {
        {"Tokyo", 1850147, "Tokyo", "Tokyo", "JP", "40", 35.6895, 139.69171, "Tokyo Standard Time"},
        {"sydney", 2147714, "Sydney", "Sydney", "AU", "02", -33.86785, 151.20732, "AUS Eastern Standard Time"},
        // GeoNames' current zone names, which CLDR's rows keep under older ones.
        {"KOLKATA", 1275004, "Kolkata", "Kolkata", "IN", "28", 22.56263, 88.36304, "India Standard Time"},
        {"Kyiv", 703448, "Kyiv", "Kyiv", "UA", "12", 50.45466, 30.5238, "FLE Standard Time"},
        // Capitals below 15,000 people.
        {"Vaduz", 3042030, "Vaduz", "Vaduz", "LI", "11", 47.14151, 9.52154, "W. Europe Standard Time"},
        {"Funafuti", 2110394, "Funafuti", "Funafuti", "TV", "FUN", -8.52425, 179.19417, "UTC+12"},
        // A zone its country's rows do not list (Asia/Bangkok in Vietnam).
        {"Hanoi", 1581130, "Hanoi", "Hanoi", "VN", "44", 21.0245, 105.84117, "SE Asia Standard Time"},
        // The real name and the ASCII one, in either case.
        {"Łódź", 3093133, "Łódź", "Lodz", "PL", "74", 51.77058, 19.47395, "Central European Standard Time"},
        {"ŁÓDŹ", 3093133, "Łódź", "Lodz", "PL", "74", 51.77058, 19.47395, "Central European Standard Time"},
        {"lodz", 3093133, "Łódź", "Lodz", "PL", "74", 51.77058, 19.47395, "Central European Standard Time"},
    };
    const WorldPlaces& places = Database();
    for (const Row& row : rows) {
        const std::vector<std::size_t> found = FindWorldPlaces(places, row.typed, 1);
        ASSERT_EQ(found.size(), 1u) << row.typed;
        const WorldPlace place = places.place(found[0]);
        EXPECT_EQ(place.geonamesId, row.geonamesId) << row.typed;
        EXPECT_EQ(place.name, row.name) << row.typed;
        EXPECT_EQ(place.asciiName, row.asciiName) << row.typed;
        EXPECT_STREQ(place.country, row.country) << row.typed;
        EXPECT_EQ(place.admin1, row.admin1) << row.typed;
        EXPECT_DOUBLE_EQ(place.latitude, row.latitude) << row.typed;
        EXPECT_DOUBLE_EQ(place.longitude, row.longitude) << row.typed;
        EXPECT_EQ(places.zone(place.zone).windowsId, row.windowsId) << row.typed;
    }
}

TEST(WorldPlaces, WholeDatabaseInOrderWithItsZonesAndCountries) {
    const WorldPlaces& places = Database();
    EXPECT_GT(places.placeCount(), 26000u);
    EXPECT_GT(places.zoneCount(), 130u);
    for (std::size_t i = 1; i < places.placeCount(); ++i) {
        const WorldPlace a = places.place(i - 1), b = places.place(i);
        ASSERT_TRUE(a.population > b.population || (a.population == b.population && a.geonamesId < b.geonamesId)) << i;
    }
    // Windows ids back to the current IANA name of CLDR's zone for the whole world.
    const std::pair<const char*, const char*> zones[] = {
        {"Tokyo Standard Time", "Asia/Tokyo"},      {"India Standard Time", "Asia/Kolkata"},
        {"FLE Standard Time", "Europe/Kyiv"},       {"Nepal Standard Time", "Asia/Kathmandu"},
        {"AUS Eastern Standard Time", "Australia/Sydney"}, {"UTC", "Etc/UTC"},
    };
    for (const auto& [windowsId, iana] : zones) {
        const int index = places.findZone(windowsId);
        ASSERT_GE(index, 0) << windowsId;
        EXPECT_EQ(places.zone(index).ianaZone, iana) << windowsId;
    }
    const std::pair<const char*, const char*> countries[] = {
        {"JP", "Japan"}, {"PL", "Poland"}, {"XK", "Kosovo"}, {"CN", "People's Republic of China"},
        {"ZZ", ""}, {"jp", ""}, {"J", ""}, {"JPN", ""},
    };
    for (const auto& [code, name] : countries) EXPECT_EQ(places.countryName(code), name) << code;
    EXPECT_EQ(places.findZone("tokyo standard time"), -1);
    EXPECT_EQ(places.findZone("Tokyo Standard Tim"), -1);
    EXPECT_EQ(places.findZone(""), -1);
}

TEST(WorldPlaces, CountryCodeOnlyAtTheEnd) {
    const WorldPlaces& places = Database();
    // Kingston, Jamaica is the most populous; a code picks Canada's or Norfolk Island's.
    EXPECT_EQ(FoundIds(places, "Kingston").front(), 3489854u);
    EXPECT_EQ(FoundIds(places, "Kingston, CA").front(), 5992500u);
    EXPECT_EQ(FoundIds(places, "kingston,nf"), std::vector<uint32_t>{2161314u});
    EXPECT_TRUE(FoundIds(places, "Kingston, Jamaica").empty());
    EXPECT_TRUE(FoundIds(places, "Kingston, ZZ").empty());
    // A name with commas of its own, whose last part is no code.
    EXPECT_FALSE(FoundIds(places, "Mianzhu, Deyang, Sichuan").empty());

    const std::pair<const char*, PlaceQuery> queries[] = {
        {" Tokyo ,  jp ", {"Tokyo", "JP"}},
        {"Mianzhu, Deyang, Sichuan", {"Mianzhu, Deyang, Sichuan", ""}},
        {"A, B, CD", {"A, B", "CD"}},
        {"Paris, FR1", {"Paris, FR1", ""}},
        {"Paris, F", {"Paris, F", ""}},
        {"Paris, Ü", {"Paris, Ü", ""}},
        {", US", {"", "US"}},
        {"", {"", ""}},
    };
    for (const auto& [typed, expected] : queries) {
        const PlaceQuery query = ReadPlaceQuery(typed);
        EXPECT_EQ(query.name, expected.name) << typed;
        EXPECT_EQ(query.country, expected.country) << typed;
    }
}

// A small database: two zones, six countries, the places given.
struct SmallPlace {
    uint32_t id;
    const char* name;
    const char* asciiName;
    const char* country;
    uint32_t population;
};
const std::vector<WorldCountry> kSmallCountries = {
    {"AU", "Australia"}, {"GR", "Greece"}, {"LI", "Liechtenstein"}, {"PL", "Poland"}, {"TR", "Türkiye"}, {"US", "USA"},
};

Bytes SmallDatabase(const std::vector<SmallPlace>& small) {
    const std::vector<WorldZone> zones = {{"Tokyo Standard Time", "Asia/Tokyo"}, {"UTC", "Etc/UTC"}};
    std::vector<WorldPlace> places;
    for (const SmallPlace& s : small) {
        WorldPlace place;
        place.geonamesId = s.id;
        place.name = s.name;
        place.asciiName = s.asciiName;
        place.admin1 = "01";
        place.country[0] = s.country[0];
        place.country[1] = s.country[1];
        place.latitude = -45.12345;
        place.longitude = 179.99999;
        place.population = s.population;
        place.zone = 1;
        places.push_back(place);
    }
    return EncodeWorldPlaces(zones, kSmallCountries, places);
}

TEST(WorldPlaceLookup, ExactBeforePrefixThenPopulationThenId) {
    WorldPlaces places;
    ASSERT_EQ(places.load(SmallDatabase({
                  {5, "Springfield", "Springfield", "US", 60000},
                  {1, "Springfield Gardens", "Springfield Gardens", "US", 500000},
                  {10, "Springfield", "Springfield", "US", 160000},
                  {3, "Springfield", "Springfield", "AU", 60000},
                  {7, "Spring", "Spring", "US", 20000},
                  {8, "Łódź", "Lodz", "PL", 768755},
                  {9, "İzmir", "Izmir", "TR", 2500000},
                  {11, "Σητεία", "Siteia", "GR", 20000},
              })),
              WorldPlacesCheck::Sound);
    const std::pair<const char*, std::vector<uint32_t>> rows[] = {
        {"springfield", {10, 3, 5, 1}},
        {"SPRINGFIELD, us", {10, 5, 1}},
        {"Springfield, AU", {3}},
        {"Spring", {7, 1, 10, 3, 5}},
        {"springfield g", {1}},
        {"łódŹ", {8}},
        {"ŁÓD", {8}},
        {"LÓD", {}},
        {"Lod", {8}},
        {"izmir", {9}},
        {"İZMİR", {9}},
        {"ΣΗΤΕΊΑ", {11}},
        {"Springfield Gardens Park", {}},
        {"Springfield, GB", {}},
        {"   ", {}},
        {"\xC5", {}},
    };
    for (const auto& [typed, ids] : rows) EXPECT_EQ(FoundIds(places, typed), ids) << typed;
    EXPECT_EQ(FindWorldPlaces(places, "Spring", 2).size(), 2u);
    // Coordinates to 1e-5 degrees, written and read back.
    EXPECT_DOUBLE_EQ(places.place(0).latitude, -45.12345);
    EXPECT_DOUBLE_EQ(places.place(0).longitude, 179.99999);
}

void PutLittle(Bytes& bytes, std::size_t at, uint32_t value, int count) {
    for (int i = 0; i < count; ++i) bytes[at + i] = static_cast<unsigned char>(value >> (8 * i));
}

TEST(WorldPlaces, DamagedFilesAreRefusedWhole) {
    const Bytes good = SmallDatabase({{1, "Vaduz", "Vaduz", "LI", 5197}, {2, "Łódź", "Lodz", "PL", 768755}});
    const std::size_t zone = kWorldPlacesHeaderSize;
    const std::size_t country = zone + 2 * kWorldZoneRecordSize;
    const std::size_t place = country + kSmallCountries.size() * kWorldCountryRecordSize;
    const std::size_t pool = place + 2 * kWorldPlaceRecordSize;
    const uint32_t poolSize = static_cast<uint32_t>(good.size() - pool);
    const std::size_t vaduz = pool + (good[place + 4] | good[place + 5] << 8);
    struct Row {
        const char* what;
        std::function<void(Bytes&)> damage;
        WorldPlacesCheck check;
    };
    const Row rows[] = {
        {"as made", [](Bytes&) {}, WorldPlacesCheck::Sound},
        {"empty", [](Bytes& b) { b.clear(); }, WorldPlacesCheck::NotPlaces},
        {"cut header", [](Bytes& b) { b.resize(15); }, WorldPlacesCheck::NotPlaces},
        {"another mark", [](Bytes& b) { b[3] = 'Q'; }, WorldPlacesCheck::NotPlaces},
        {"newer layout", [](Bytes& b) { PutLittle(b, 4, 2, 2); }, WorldPlacesCheck::NewerVersion},
        {"layout 0", [](Bytes& b) { PutLittle(b, 4, 0, 2); }, WorldPlacesCheck::Damaged},
        {"cut by a byte", [](Bytes& b) { b.pop_back(); }, WorldPlacesCheck::Damaged},
        {"a byte more", [](Bytes& b) { b.push_back(0); }, WorldPlacesCheck::Damaged},
        {"huge place count", [](Bytes& b) { PutLittle(b, 12, 0xFFFFFFFFu, 4); }, WorldPlacesCheck::Damaged},
        {"no places", [&](Bytes& b) { PutLittle(b, 12, 0, 4); PutLittle(b, 16, poolSize + 64, 4); }, WorldPlacesCheck::Damaged},
        {"no countries", [&](Bytes& b) { PutLittle(b, 8, 0, 4); PutLittle(b, 16, poolSize + 36, 4); }, WorldPlacesCheck::Damaged},
        {"pool not ended", [](Bytes& b) { b.back() = 'x'; }, WorldPlacesCheck::Damaged},
        {"zones out of order", [&](Bytes& b) { std::swap_ranges(&b[zone], &b[zone + 8], &b[zone + 8]); }, WorldPlacesCheck::Damaged},
        {"countries out of order", [&](Bytes& b) { std::swap_ranges(&b[country], &b[country + 6], &b[country + 6]); }, WorldPlacesCheck::Damaged},
        {"country name past the pool", [&](Bytes& b) { PutLittle(b, country + 2, poolSize, 4); }, WorldPlacesCheck::Damaged},
        {"name past the pool", [&](Bytes& b) { PutLittle(b, place + 4, poolSize, 4); }, WorldPlacesCheck::Damaged},
        {"empty name", [&](Bytes& b) { PutLittle(b, place + 4, poolSize - 1, 4); }, WorldPlacesCheck::Damaged},
        {"name not UTF-8", [&](Bytes& b) { b[vaduz] = 0xC5; }, WorldPlacesCheck::Damaged},
        {"latitude past 90", [&](Bytes& b) { PutLittle(b, place + 16, 9000001, 4); }, WorldPlacesCheck::Damaged},
        {"longitude past -180", [&](Bytes& b) { PutLittle(b, place + 20, uint32_t(-18000001), 4); }, WorldPlacesCheck::Damaged},
        {"country not a code", [&](Bytes& b) { b[place + 29] = 'i'; }, WorldPlacesCheck::Damaged},
        {"country not in the table", [&](Bytes& b) { b[place + 29] = 'T'; }, WorldPlacesCheck::Damaged},
        {"zone past the table", [&](Bytes& b) { PutLittle(b, place + 30, 2, 2); }, WorldPlacesCheck::Damaged},
    };
    WorldPlaces places;
    for (const Row& row : rows) {
        Bytes bytes = good;
        row.damage(bytes);
        ASSERT_EQ(places.load(good), WorldPlacesCheck::Sound);
        EXPECT_EQ(places.load(bytes), row.check) << row.what;
        if (row.check != WorldPlacesCheck::Sound) {
            EXPECT_EQ(places.placeCount(), 0u) << row.what;
            EXPECT_EQ(places.zoneCount(), 0u) << row.what;
            EXPECT_TRUE(FindWorldPlaces(places, "Vaduz").empty()) << row.what;
        }
    }
    EXPECT_EQ(places.loadFile("/nonexistent/WorldPlaces.bin"), WorldPlacesCheck::Missing);
    EXPECT_EQ(places.placeCount(), 0u);
}

TEST(Utf8Text, CaseFoldingAndMalformedText) {
    const std::pair<uint32_t, uint32_t> folds[] = {
        {'A', 'a'},       {'z', 'z'},       {0xC9, 0xE9} /* É */, {0xD7, 0xD7} /* × */,
        {0xDF, 0xDF} /* ß */, {0x141, 0x142} /* Ł */, {0x179, 0x17A} /* Ź */, {0x178, 0xFF} /* Ÿ */,
        {0x130, 'i'} /* İ */, {0x131, 0x131} /* ı */, {0x218, 0x219} /* Ș */, {0x18F, 0x259} /* Ə */,
        {0x3A3, 0x3C3} /* Σ */, {0x3C2, 0x3C3} /* ς */, {0x38A, 0x3AF} /* Ί */, {0x401, 0x451} /* Ё */,
        {0x416, 0x436} /* Ж */, {0x4D8, 0x4D9} /* Ә */, {0x531, 0x561} /* Ա */, {0x1EA0, 0x1EA1} /* Ạ */,
        {0x1E9E, 0xDF} /* ẞ */, {0x4E2D, 0x4E2D} /* 中 */,
    };
    for (const auto& [from, to] : folds) EXPECT_EQ(FoldCase(from), to) << std::hex << from;

    const std::pair<const char*, bool> texts[] = {
        {"Łódź", true}, {"\xF0\x9F\x8C\x8D", true}, {"", true},
        {"\xC5", false}, {"\xC0\xAF", false} /* overlong */, {"\xED\xA0\x80", false} /* surrogate */,
        {"\xF4\x90\x80\x80", false} /* past U+10FFFF */, {"a\x80z", false},
    };
    for (const auto& [text, good] : texts) EXPECT_EQ(IsUtf8(text), good) << text;
}

}  // namespace
