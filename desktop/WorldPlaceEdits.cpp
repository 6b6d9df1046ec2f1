#include "desktop/WorldPlaceEdits.h"

#include <cmath>
#include <cstdlib>
#include <utility>

namespace {

std::string_view Trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

}  // namespace

PlaceAdded AddPlace(WorldSettings& world, PlaceSetting place) {
    place.name = std::string(Trimmed(place.name));
    if (place.name.empty()) return PlaceAdded::NoName;
    if (!(std::fabs(place.latitude) <= 90) || !(std::fabs(place.longitude) <= 180)) return PlaceAdded::BadCoordinates;
    if (place.timeZone.empty()) return PlaceAdded::NoZone;
    if (world.places.size() >= kMostWorldPlaces) return PlaceAdded::ListFull;
    world.places.push_back(std::move(place));
    return PlaceAdded::Added;
}

bool RemovePlace(WorldSettings& world, std::size_t index) {
    if (index >= world.places.size()) return false;
    world.places.erase(world.places.begin() + std::ptrdiff_t(index));
    return true;
}

bool RenamePlace(WorldSettings& world, std::size_t index, std::string_view name) {
    name = Trimmed(name);
    if (index >= world.places.size() || name.empty() || world.places[index].name == name) return false;
    world.places[index].name = std::string(name);
    return true;
}

bool MovePlace(WorldSettings& world, std::size_t index, int step) {
    const std::size_t other = index + std::size_t(std::ptrdiff_t(step));
    if ((step != -1 && step != 1) || index >= world.places.size() || other >= world.places.size()) return false;
    std::swap(world.places[index], world.places[other]);
    return true;
}

bool ShowPlace(WorldSettings& world, std::size_t index, bool show) {
    if (index >= world.places.size() || world.places[index].show == show) return false;
    world.places[index].show = show;
    return true;
}

std::optional<double> ReadDegrees(std::string_view typed, double limit) {
    const std::string text(Trimmed(typed));
    if (text.empty()) return std::nullopt;
    char* end = nullptr;
    const double degrees = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size() || !(std::fabs(degrees) <= limit)) return std::nullopt;
    return degrees;
}
