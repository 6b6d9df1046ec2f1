#include "location/WorldPlaceMarks.h"

#include "app/ClockSettings.h"
#include "app/ProgramFiles.h"
#include "app/UserOptions.h"
#include "app/ZoneRules.h"
#include "app/ZoneRulesReading.h"
#include "platform/ProgramPath.h"
#include "platform/RecursiveLock.h"

#include <cmath>
#include <cstdio>

namespace {

// How near a world place must lie to be the same place (the table rounds to 1e-5 degree; a
// place picked from the table and stored as text stays well within this).
constexpr double kSamePlaceDegrees = 0.01;

}  // namespace

std::string PlaceClockText(int hour, int minute, bool hours24) {
    char text[16];
    if (hours24) {
        std::snprintf(text, sizeof text, "%02d:%02d", hour, minute);
    } else {
        std::snprintf(text, sizeof text, "%d:%02d %s", hour % 12 == 0 ? 12 : hour % 12, minute, hour < 12 ? "AM" : "PM");
    }
    return text;
}

uint32_t WorldPlacePopulation(const WorldPlaces& table, const PlaceSetting& place) {
    // The table lists the most populous first: the first place near enough is the largest.
    for (std::size_t index = 0; index < table.placeCount(); ++index) {
        const WorldPlace found = table.place(index);
        if (std::fabs(found.latitude - place.latitude) <= kSamePlaceDegrees &&
            std::fabs(found.longitude - place.longitude) <= kSamePlaceDegrees) {
            return found.population;
        }
    }
    return 0;
}

std::vector<PlaceMark> WorldPlaceMarks::marks(const WorldSettings& world, bool hours24, int64_t utcSeconds) {
    std::lock_guard<std::mutex> hold(mutex_);
    if (world.places != seen_) {
        if (!tableRead_ && !tablePath_.empty()) table_.loadFile(tablePath_);
        tableRead_ = true;
        populations_.clear();
        for (const PlaceSetting& place : world.places) populations_.push_back(WorldPlacePopulation(table_, place));
        seen_ = world.places;
    }
    std::vector<PlaceMark> marks;
    for (std::size_t i = 0; i < world.places.size(); ++i) {
        const PlaceSetting& place = world.places[i];
        if (!place.show) continue;
        // A zone this system lacks: the place keeps UTC (the World Clock window says so).
        const std::shared_ptr<const ZoneRules> zone = ProgramZones().find(place.timeZone);
        const ZoneTime local = ZoneTimeAt(zone ? *zone : UtcZoneRules(), utcSeconds);
        marks.push_back({place.name, place.latitude, place.longitude, populations_[i],
                         PlaceClockText(local.local.hour, local.local.minute, hours24)});
    }
    return marks;
}

std::vector<PlaceMark> ClockPlaceMarks(ClockSettings& settings) {
    static WorldPlaceMarks marks(DataFilePath(ProgramPath(), "WorldPlaces.bin"));
    WorldSettings world;
    bool hours24 = false;
    CivilTime utc;
    {
        ClockSettings::Shared shared = settings.shared();
        std::lock_guard<RecursiveLock> hold(shared.lock);
        if (!shared.world.showPlaces || shared.world.places.empty()) return {};
        world = shared.world;
        hours24 = (shared.options.displayFlags & kLocalTime24Hour) != 0;
        utc = shared.clock.utcNow();
    }
    return marks.marks(world, hours24, SecondsOfUtc(utc));
}

