#include "location/WorldPlaceMarks.h"

#include "app/ClockSettings.h"
#include "app/UserOptions.h"
#include "app/ZoneRulesReading.h"
#include "astro/FixedClock.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(WorldPlaceMarks, PopulationOfTheWorldPlaceAtThatPosition) {
    const std::vector<WorldZone> zones = {{"Central European Standard Time", "Europe/Warsaw"}};
    const std::vector<WorldCountry> countries = {{"PL", "Poland"}, {"US", "USA"}};
    std::vector<WorldPlace> table(3);
    table[0] = {1, "Łódź", "Lodz", "74", {'P', 'L'}, 51.75, 19.46667, 768755, 0};
    table[1] = {2, "Springfield", "Springfield", "IL", {'U', 'S'}, 39.80172, -89.64371, 114394, 0};
    table[2] = {3, "Springfield", "Springfield", "MO", {'U', 'S'}, 37.21533, -93.29824, 169176, 0};
    WorldPlaces places;
    ASSERT_EQ(places.load(EncodeWorldPlaces(zones, countries, table)), WorldPlacesCheck::Sound);
    struct Case {
        const char* name;
        double latitude, longitude;
        uint32_t population;
    } cases[] = {
        {"Łódź", 51.75, 19.46667, 768755},
        {"lodz", 51.755, 19.46, 768755},             // within 0.01 degree
        {"Springfield", 37.21533, -93.29824, 169176},  // the one at that position
        {"Springfield", 39.80172, -89.64371, 114394},
        {"Springfield", 38.5, -91, 0},                 // neither
        {"Łódź", 51.77, 19.46667, 0},                  // 0.02 degree off
        {"Home office", 51.75, 19.46667, 768755},      // renamed: the same place
    };
    for (const Case& c : cases) {
        PlaceSetting place;
        place.name = c.name;
        place.latitude = c.latitude;
        place.longitude = c.longitude;
        EXPECT_EQ(WorldPlacePopulation(places, place), c.population) << c.name << " " << c.latitude;
    }
}

TEST(WorldPlaceMarks, ShownPlacesInTheirOwnTimeWhileTheChoiceIsOn) {
    SetHostZoneNames({{"Tokyo Standard Time", "Asia/Tokyo"}});
    FixedClock clock(CivilTime{2027, 1, 15, 5, 23, 40, 0}, 0);
    ClockSettings settings(clock);
    settings.update([](WorldSettings& world) {
        world.places = {{"Tokyo", 35.6895, 139.69171, "Tokyo Standard Time", true},
                        {"Hidden", 10, 10, "Tokyo Standard Time", false},
                        {"Nowhere", -10, -10, "No Such Standard Time", true}};
    });
    settings.update([](UserOptions& o) { o.displayFlags |= kLocalTime24Hour; });
    std::vector<PlaceMark> shown = ClockPlaceMarks(settings);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].name, "Tokyo");
    EXPECT_EQ(shown[0].timeText, "08:40") << "UTC+9";
    EXPECT_EQ(shown[1].name, "Nowhere");
    EXPECT_EQ(shown[1].timeText, "23:40") << "a zone this system lacks: UTC";

    settings.update([](UserOptions& o) { o.displayFlags &= ~kLocalTime24Hour; });
    shown = ClockPlaceMarks(settings);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].timeText, "8:40 AM");
    // Midnight and noon on the 12-hour clock.
    EXPECT_EQ(PlaceClockText(0, 5, false), "12:05 AM");
    EXPECT_EQ(PlaceClockText(12, 0, false), "12:00 PM");

    settings.update([](WorldSettings& world) { world.showPlaces = false; });
    EXPECT_TRUE(ClockPlaceMarks(settings).empty());
}

}  // namespace
