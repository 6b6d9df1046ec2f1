// The Moon's shadow on the Earth map during a solar eclipse: the penumbra darkened by the share
// of the Sun's disc it hides, the umbra nearly black, the antumbra clearly darker.
#pragma once

#include "astro/EclipseGeometry.h"

#include <cstdint>
#include <vector>

// The share of daylight left where the Sun is covered as `cover` says (1: none covered).
float SolarEclipseLight(const SolarCover& cover);

// The light the Moon's shadow of `sky` leaves, as a grey red-green-blue map of width x height in
// the globe's texture layout (column 0 at longitude -180, row 0 at the south pole; 255: all
// the light), to multiply the globe's colours by. The share covered is worked out on a grid of
// whole degrees and blended between its points, and for each texel where the Sun is mostly
// covered, so that the umbra keeps its edge. Thin lines mark the penumbra's outer edge and each
// quarter of the Sun hidden. Empty for a size of no texels.
std::vector<uint8_t> SolarEclipseLightMap(int width, int height, const EclipseSky& sky);
