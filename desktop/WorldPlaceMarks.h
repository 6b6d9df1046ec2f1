// The place marks the globe shows, made from the world settings: each shown place with its
// population from the world places table (which decides whose label gives way) and its
// local time.
#pragma once

#include "app/WorldSettings.h"
#include "location/WorldPlaces.h"
#include "render/PlaceMark.h"

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

class ClockSettings;

// "14:05" on a 24-hour clock, "2:05 PM" on a 12-hour one.
std::string PlaceClockText(int hour, int minute, bool hours24);

// The population of the world place of this name (or ASCII name) within about 0.01 degree of
// the place; 0 when there is none (a place typed by its coordinates, or renamed).
uint32_t WorldPlacePopulation(const WorldPlaces& table, const PlaceSetting& place);

// Shared by the threads that draw (the view's and the wallpaper's).
class WorldPlaceMarks {
public:
    // `tablePath`: WorldPlaces.bin; without it every population is 0.
    WorldPlaceMarks(ClockSettings& settings, std::string tablePath);

    // The marks of now; none when the display choice is off.
    std::vector<PlaceMark> now();

private:
    ClockSettings& settings_;
    std::string tablePath_;
    std::mutex mutex_;
    bool tableRead_ = false;
    WorldPlaces table_;
    std::vector<PlaceSetting> seen_;         // the places the populations are of
    std::vector<uint32_t> populations_;
};

// The clock's marks, with the table beside the program; made at first use.
WorldPlaceMarks& ClockPlaceMarks(ClockSettings& settings);
