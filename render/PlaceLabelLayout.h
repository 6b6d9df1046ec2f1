// Where the place markers and their labels go on a view of the globe: each place projected
// as the view draws the globe, the far side left out, and labels that would overlap each other
// or the time display given up by the less populous place (which keeps its marker).
#pragma once

#include "render/PlaceMark.h"

#include <cstddef>
#include <optional>
#include <vector>

// A rectangle of the viewport in pixels, y up from the bottom as OpenGL counts.
struct ViewRect {
    float left = 0, bottom = 0, right = 0, top = 0;
    bool empty() const { return right <= left || top <= bottom; }
};

bool Overlaps(const ViewRect& a, const ViewRect& b);

// The globe's camera: OpenGL's column-major matrices and the viewport's size in pixels.
struct ViewProjection {
    float modelView[16];
    float projection[16];
    float width = 0, height = 0;
};

struct PixelPoint {
    float x = 0, y = 0;
};

// The viewport pixel of a place on a globe of `radius` (the mesh's longitude + 180, as the
// home point is drawn); none when it lies on the far side or at the very rim.
std::optional<PixelPoint> ProjectPlace(double latitude, double longitude, float radius, const ViewProjection& view);

// Marker and label sizes in pixels for a screen of `dpiScale` times 96 DPI.
struct PlaceMarkSizes {
    int fontPixels;      // the label's character height
    float markerSize;    // the dot's diameter
    float gap;           // between the dot and its label
};
PlaceMarkSizes PlaceMarkSizesFor(float dpiScale);

struct LabelExtent {
    float width = 0, height = 0;
};

struct PlacedMark {
    std::size_t index = 0;  // into the marks given
    PixelPoint at;
    bool labelled = false;
    ViewRect label;  // where the label goes when labelled
};

// The visible places, in the order given. A label goes right of its marker, or left where the
// viewport ends there; it stays within the viewport and off `keepClear` (the time display) and
// the labels of more populous places (ties: the earlier place).
std::vector<PlacedMark> LayoutPlaceLabels(const std::vector<PlaceMark>& marks, const std::vector<LabelExtent>& extents,
                                          const ViewProjection& view, float globeRadius, const ViewRect& keepClear,
                                          const PlaceMarkSizes& sizes);
