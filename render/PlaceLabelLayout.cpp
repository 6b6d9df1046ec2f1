#include "render/PlaceLabelLayout.h"

#include "render/GlobeMesh.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

// Places this close to the rim (the cosine between the surface's normal and the line of
// sight) are left out: their markers would sit half over space.
constexpr double kRimCosine = 0.03;

void Transform(const float m[16], const double in[4], double out[4]) {
    for (int row = 0; row < 4; ++row) {
        out[row] = m[row] * in[0] + m[4 + row] * in[1] + m[8 + row] * in[2] + m[12 + row] * in[3];
    }
}

bool Inside(const ViewRect& box, const ViewProjection& view) {
    return box.left >= 0 && box.bottom >= 0 && box.right <= view.width && box.top <= view.height;
}

}  // namespace

bool Overlaps(const ViewRect& a, const ViewRect& b) {
    return !a.empty() && !b.empty() && a.left < b.right && b.left < a.right && a.bottom < b.top && b.bottom < a.top;
}

std::optional<PixelPoint> ProjectPlace(double latitude, double longitude, float radius, const ViewProjection& view) {
    float surface[3];
    GlobeMesh(1, 4, radius).surfacePoint(longitude + 180.0, latitude, surface);
    const double point[4] = {surface[0], surface[1], surface[2], 1}, centre[4] = {0, 0, 0, 1};
    double eye[4], eyeCentre[4];
    Transform(view.modelView, point, eye);
    Transform(view.modelView, centre, eyeCentre);
    // The camera sits at the eye's origin: the place faces it when its normal points that way.
    double normal[3], sight[3], dot = 0, normalLength = 0, sightLength = 0;
    for (int i = 0; i < 3; ++i) {
        normal[i] = eye[i] - eyeCentre[i];
        sight[i] = -eye[i];
        dot += normal[i] * sight[i];
        normalLength += normal[i] * normal[i];
        sightLength += sight[i] * sight[i];
    }
    if (normalLength <= 0 || sightLength <= 0 || dot <= kRimCosine * std::sqrt(normalLength * sightLength)) {
        return std::nullopt;
    }
    double clip[4];
    Transform(view.projection, eye, clip);
    if (clip[3] <= 0) return std::nullopt;
    const PixelPoint at = {float((clip[0] / clip[3] + 1) / 2 * view.width),
                           float((clip[1] / clip[3] + 1) / 2 * view.height)};
    if (at.x < 0 || at.y < 0 || at.x > view.width || at.y > view.height) return std::nullopt;
    return at;
}

PlaceMarkSizes PlaceMarkSizesFor(float dpiScale) {
    const float s = std::max(dpiScale, 1.0f);
    return {int(std::lround(13 * s)), std::round(6 * s), std::round(3 * s)};
}

std::vector<PlacedMark> LayoutPlaceLabels(const std::vector<PlaceMark>& marks, const std::vector<LabelExtent>& extents,
                                          const ViewProjection& view, float globeRadius, const ViewRect& keepClear,
                                          const PlaceMarkSizes& sizes) {
    std::vector<PlacedMark> placed;
    for (std::size_t i = 0; i < marks.size(); ++i) {
        if (const auto at = ProjectPlace(marks[i].latitude, marks[i].longitude, globeRadius, view)) {
            placed.push_back({i, *at, false, {}});
        }
    }
    std::vector<std::size_t> byPopulation(placed.size());
    std::iota(byPopulation.begin(), byPopulation.end(), 0);
    std::stable_sort(byPopulation.begin(), byPopulation.end(), [&](std::size_t a, std::size_t b) {
        return marks[placed[a].index].population > marks[placed[b].index].population;
    });
    std::vector<ViewRect> taken;
    if (!keepClear.empty()) taken.push_back(keepClear);
    for (std::size_t k : byPopulation) {
        PlacedMark& mark = placed[k];
        const LabelExtent extent = mark.index < extents.size() ? extents[mark.index] : LabelExtent{};
        if (extent.width <= 0 || extent.height <= 0) continue;
        const float offset = sizes.markerSize / 2 + sizes.gap;
        const float bottom = std::round(mark.at.y - extent.height / 2);
        const ViewRect right = {std::round(mark.at.x + offset), bottom, std::round(mark.at.x + offset) + extent.width,
                                bottom + extent.height};
        const ViewRect left = {std::round(mark.at.x - offset) - extent.width, bottom, std::round(mark.at.x - offset),
                               bottom + extent.height};
        const ViewRect label = Inside(right, view) ? right : left;
        const bool free = Inside(label, view) && std::none_of(taken.begin(), taken.end(), [&](const ViewRect& other) {
                              return Overlaps(label, other);
                          });
        if (!free) continue;
        mark.labelled = true;
        mark.label = label;
        taken.push_back(label);
    }
    return placed;
}
