// The place marks the globe shows, made from the world settings: each shown place with its
// population from the world places table (which decides whose label gives way) and its
// local time.
#pragma once

#include "app/WorldSettings.h"
#include "location/WorldPlaces.h"
#include "render/PlaceMark.h"

#include <cstdint>
#include <mutex>
#include <utility>
#include <string>
#include <vector>

class ClockSettings;

// "14:05" on a 24-hour clock, "2:05 PM" on a 12-hour one.
std::string PlaceClockText(int hour, int minute, bool hours24);

// The population of the most populous world place within about 0.01 degree of the place,
// whatever the user named it (a renamed place keeps its rank); 0 when there is none.
uint32_t WorldPlacePopulation(const WorldPlaces& table, const PlaceSetting& place);

// Shared by the threads that draw (the view's and the wallpaper's, or the saver's).
class WorldPlaceMarks {
public:
    // `tablePath`: WorldPlaces.bin; without it every population is 0.
    explicit WorldPlaceMarks(std::string tablePath) : tablePath_(std::move(tablePath)) {}

    // The marks of the shown places at `utcSeconds`, times on a 24- or 12-hour clock.
    std::vector<PlaceMark> marks(const WorldSettings& world, bool hours24, int64_t utcSeconds);

private:
    std::string tablePath_;
    std::mutex mutex_;
    bool tableRead_ = false;
    WorldPlaces table_;
    std::vector<PlaceSetting> seen_;  // the places the populations are of
    std::vector<uint32_t> populations_;
};

// The clock's marks of now, with the table beside the program; none while the display choice
// is off.
std::vector<PlaceMark> ClockPlaceMarks(ClockSettings& settings);
