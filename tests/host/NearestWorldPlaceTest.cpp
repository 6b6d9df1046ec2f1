// A United States place takes the zone of the nearest world place in its state: the nearest,
// not the first or the most populous, where a state spans two zones; the territories, which
// GeoNames files as countries of their own.
#include "location/NearestWorldPlace.h"
#include "location/USStates.h"
#include "location/WorldPlaces.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(NearestWorldPlace, AUnitedStatesPlaceTakesItsNeighboursZone) {
    WorldPlaces places;
    ASSERT_EQ(places.loadFile(SOLVANE_TEST_WORLDPLACES), WorldPlacesCheck::Sound);
    struct Row {
        const char* state;
        double latitude, longitude;
        const char* windowsId;
    };
    const Row rows[] = {
        {"RI", 41.82, -71.41, "Eastern Standard Time"},
        // States of two zones: the side the place is on.
        {"IN", 41.59, -87.35, "Central Standard Time"},      // Gary, by Chicago
        {"IN", 39.77, -86.16, "US Eastern Standard Time"},   // Indianapolis
        {"TX", 31.76, -106.49, "Mountain Standard Time"},    // El Paso
        {"HI", 21.31, -157.86, "Hawaiian Standard Time"},
        // Territories: countries of their own in GeoNames.
        {"PR", 18.47, -66.11, "SA Western Standard Time"},
    };
    for (const Row& row : rows) {
        const int state = USStateIndex(row.state);
        ASSERT_GE(state, 0) << row.state;
        const int nearest = NearestWorldPlaceInUSState(places, state, row.latitude, row.longitude);
        ASSERT_GE(nearest, 0) << row.state;
        const WorldPlace place = places.place(std::size_t(nearest));
        EXPECT_EQ(std::string(places.zone(place.zone).windowsId), row.windowsId)
            << row.state << " " << row.latitude << " " << row.longitude << ": " << place.name;
    }
    EXPECT_EQ(NearestWorldPlaceInUSState(places, -1, 0, 0), -1);
    EXPECT_EQ(NearestWorldPlace(places, "US", "XX", 40, -100), -1) << "a division without places";
    EXPECT_EQ(NearestWorldPlaceInUSState(WorldPlaces(), USStateIndex("RI"), 41.82, -71.41), -1) << "no database";
}

}  // namespace
