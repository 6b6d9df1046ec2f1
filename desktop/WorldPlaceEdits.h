// The World Clock window's changes to the list of world places, applied to the world settings
// inside a settings update. Each says whether it changed anything; a refused change leaves the
// list as it was.
#pragma once

#include "app/WorldSettings.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

enum class PlaceAdded { Added, ListFull, NoName, BadCoordinates, NoZone };

// Appends `place` (its name trimmed of blanks) after the others.
PlaceAdded AddPlace(WorldSettings& world, PlaceSetting place);
bool RemovePlace(WorldSettings& world, std::size_t index);
// A blank name is refused: the place keeps its old one.
bool RenamePlace(WorldSettings& world, std::size_t index, std::string_view name);
// Swaps the place with its neighbour above (step -1) or below (step +1).
bool MovePlace(WorldSettings& world, std::size_t index, int step);
bool ShowPlace(WorldSettings& world, std::size_t index, bool show);

// A typed coordinate in decimal degrees ("35.6895", "-33.87"), within +-`limit`; none for
// anything else.
std::optional<double> ReadDegrees(std::string_view typed, double limit);
