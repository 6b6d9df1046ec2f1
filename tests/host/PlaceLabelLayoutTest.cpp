#include "render/PlaceLabelLayout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

// The earth view's camera: 5 degrees of view from 1900 units over a 600 x 400 viewport; the
// globe (radius 80) then spans about 385 pixels, and longitude 90 faces the camera.
ViewProjection EarthCamera(float width = 600, float height = 400) {
    ViewProjection view = {};
    for (int i = 0; i < 16; ++i) view.modelView[i] = view.projection[i] = (i % 5 == 0) ? 1.0f : 0.0f;
    view.modelView[14] = -1900;
    const float nearZ = 1000, farZ = 3000, top = nearZ * std::tan(2.5f * 3.14159265f / 180), right = top * width / height;
    view.projection[0] = nearZ / right;
    view.projection[5] = nearZ / top;
    view.projection[10] = -(farZ + nearZ) / (farZ - nearZ);
    view.projection[11] = -1;
    view.projection[14] = -2 * farZ * nearZ / (farZ - nearZ);
    view.projection[15] = 0;
    view.width = width;
    view.height = height;
    return view;
}

PlaceMark Mark(const char* name, double latitude, double longitude, uint32_t population) {
    return {name, latitude, longitude, population, "12:00"};
}

TEST(PlaceLabelLayout, ProjectsTheNearSideAndHidesTheFarSide) {
    struct Case {
        double latitude, longitude;
        bool shown;
        float x, y;  // expected pixel, when shown (within 2 pixels)
    } cases[] = {
        {0, 90, true, 300, 200},       // faces the camera
        {0, -90, false, 0, 0},         // straight behind
        {0, 0, false, 0, 0},           // on the rim
        {60, -80, false, 0, 0},        // far side, north
        {90, 0, false, 0, 0},          // the pole, on the rim
        {30, 90, true, 300, 300},      // north is up: 40 units seen from 1831
        {0, 120, true, 400, 200},      // east is right
        {-30, 60, true, 214, 100},     // south-west
    };
    const ViewProjection view = EarthCamera();
    for (const Case& c : cases) {
        const auto at = ProjectPlace(c.latitude, c.longitude, 80, view);
        ASSERT_EQ(at.has_value(), c.shown) << c.latitude << ", " << c.longitude;
        if (!at) continue;
        EXPECT_NEAR(at->x, c.x, 2) << c.latitude << ", " << c.longitude;
        EXPECT_NEAR(at->y, c.y, 2) << c.latitude << ", " << c.longitude;
    }
}

TEST(PlaceLabelLayout, PopulationDecidesOverlapsAndEveryVisiblePlaceKeepsItsMarker) {
    const ViewRect none = {};
    const ViewRect timeDisplay = {200, 40, 400, 90};
    struct Case {
        const char* what;
        std::vector<PlaceMark> marks;
        ViewRect keepClear;
        std::vector<bool> labelled;  // per visible place, in the order given
    } cases[] = {
        {"apart", {Mark("A", 0, 90, 10), Mark("B", 40, 90, 20)}, none, {true, true}},
        {"close: the larger wins", {Mark("Small", 0, 90, 10), Mark("Big", 0.5, 90.5, 20)}, none, {false, true}},
        {"close, order swapped", {Mark("Big", 0.5, 90.5, 20), Mark("Small", 0, 90, 10)}, none, {true, false}},
        {"a tie: the earlier wins", {Mark("First", 0, 90, 5), Mark("Second", 0.5, 90.5, 5)}, none, {true, false}},
        {"another's label does not send a label left of its marker",
         {Mark("Big", 0, 88, 90), Mark("Small", 0, 89, 10)}, none, {true, false}},
        {"hidden places do not block", {Mark("Behind", 0, -90, 1000), Mark("Front", 0, 90, 1)}, none, {true}},
        {"the time display keeps clear", {Mark("Under", -45, 90, 10)}, timeDisplay, {false}},
        {"beside the time display", {Mark("Above", 0, 90, 10)}, timeDisplay, {true}},
    };
    const ViewProjection view = EarthCamera();
    const PlaceMarkSizes sizes = PlaceMarkSizesFor(1);
    for (const Case& c : cases) {
        const std::vector<LabelExtent> extents(c.marks.size(), LabelExtent{60, 14});
        const std::vector<PlacedMark> placed = LayoutPlaceLabels(c.marks, extents, view, 80, c.keepClear, sizes);
        ASSERT_EQ(placed.size(), c.labelled.size()) << c.what;
        for (std::size_t i = 0; i < placed.size(); ++i) {
            EXPECT_EQ(placed[i].labelled, c.labelled[i]) << c.what << ": " << c.marks[placed[i].index].name;
            if (!placed[i].labelled) continue;
            EXPECT_FALSE(Overlaps(placed[i].label, c.keepClear)) << c.what;
            for (std::size_t j = 0; j < i; ++j) {
                if (placed[j].labelled) {
                    EXPECT_FALSE(Overlaps(placed[i].label, placed[j].label)) << c.what;
                }
            }
        }
    }
}

TEST(PlaceLabelLayout, LabelsStayWithinTheViewAndGrowWithTheDpi) {
    const ViewProjection view = EarthCamera();
    const PlaceMarkSizes sizes = PlaceMarkSizesFor(1);
    // Near the right rim a label goes left of its marker; one wider than either side goes.
    const std::vector<PlaceMark> marks = {Mark("East", 0, 170, 1)};
    auto placed = LayoutPlaceLabels(marks, {{120, 14}}, view, 80, {}, sizes);
    ASSERT_EQ(placed.size(), 1u);
    ASSERT_TRUE(placed[0].labelled);
    EXPECT_LT(placed[0].label.right, placed[0].at.x);
    placed = LayoutPlaceLabels(marks, {{590, 14}}, view, 80, {}, sizes);
    ASSERT_EQ(placed.size(), 1u);
    EXPECT_FALSE(placed[0].labelled);
    // No extent (no text measured): the marker alone.
    placed = LayoutPlaceLabels(marks, {}, view, 80, {}, sizes);
    ASSERT_EQ(placed.size(), 1u);
    EXPECT_FALSE(placed[0].labelled);

    const PlaceMarkSizes doubled = PlaceMarkSizesFor(2);
    EXPECT_EQ(doubled.fontPixels, 2 * sizes.fontPixels);
    EXPECT_EQ(doubled.markerSize, 2 * sizes.markerSize);
    EXPECT_EQ(PlaceMarkSizesFor(0.5f).fontPixels, sizes.fontPixels) << "never smaller than at 96 DPI";
}

}  // namespace
