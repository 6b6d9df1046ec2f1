#include "render/GridLines.h"

#include "render/GlobeMesh.h"

#include <cmath>

namespace {

LineStrip Parallel(const GlobeMesh& sphere, double latitude) {
    LineStrip strip;
    for (int lon = -180; lon <= 180; lon += 5) {
        std::array<float, 3> p;
        sphere.surfacePoint(lon, latitude, p.data());
        strip.push_back(p);
    }
    return strip;
}

LineStrip Meridian(const GlobeMesh& sphere, double longitude) {
    LineStrip strip;
    for (int lat = -75; lat <= 75; lat += 5) {
        std::array<float, 3> p;
        sphere.surfacePoint(longitude, lat, p.data());
        strip.push_back(p);
    }
    return strip;
}

}  // namespace

GridLines MakeGridLines() {
    const GlobeMesh sphere(0, 1, 80.0f);
    GridLines lines;
    for (int lat = -75; lat <= 75; lat += 15) {
        if (std::abs(lat) > 0) lines.grid.push_back(Parallel(sphere, lat));
    }
    for (int lon = -180; lon <= 180; lon += 15) lines.grid.push_back(Meridian(sphere, lon));
    lines.equator.push_back(Parallel(sphere, 0));
    lines.tropics.push_back(Parallel(sphere, 23.5));
    lines.tropics.push_back(Parallel(sphere, -23.5));
    return lines;
}
