// Latitude and longitude lines, the equator and the tropics, as line strips on the globe.
#pragma once

#include <array>
#include <vector>

using LineStrip = std::vector<std::array<float, 3>>;

struct GridLines {
    std::vector<LineStrip> grid;     // parallels every 15 degrees but the equator; meridians
    std::vector<LineStrip> equator;
    std::vector<LineStrip> tropics;  // +-23.5 degrees
};

// The lines on a sphere of radius 80.
GridLines MakeGridLines();
