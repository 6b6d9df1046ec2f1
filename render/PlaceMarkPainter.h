// Draws the place markers and their labels over a globe: a dot for each visible place and its
// name and time in a Unicode font, so that every name is drawn whole.
#pragma once

#include "render/GLDrawing.h"
#include "render/PlaceLabelLayout.h"
#include "render/PlaceMark.h"

#include <string>
#include <vector>

class PlaceMarkPainter {
public:
    PlaceMarkPainter() = default;
    PlaceMarkPainter(const PlaceMarkPainter&) = delete;
    PlaceMarkPainter& operator=(const PlaceMarkPainter&) = delete;

    // Draws `marks` on the globe of `globeRadius` under the current model-view matrix (the
    // scene's camera and view) into the current viewport, labels clear of `keepClear`. The
    // labels' texture is made in the current context and kept while the texts stay the same.
    // Leaves the OpenGL state as it found it.
    void draw(const std::vector<PlaceMark>& marks, float globeRadius, const ViewRect& keepClear, float dpiScale);
    // Deletes the texture; its context must be current.
    void destroy();
    // Forgets the texture, whose context has gone.
    void forget();

private:
    // Draws the label texts with GDI into one texture, a row of it each; false when it could not.
    bool buildTexture(const std::vector<std::string>& texts, int fontPixels);

    GLuint texture_ = 0;
    std::vector<std::string> texts_;
    int fontPixels_ = 0;
    int textureWidth_ = 0, textureHeight_ = 0;
    std::vector<LabelExtent> extents_;
    std::vector<int> rowTops_;  // each label's first row in the texture, from its top
};

// What the scene draws of the places (see DrawEarthScene).
struct PlaceMarksOnScene {
    PlaceMarkPainter* painter;
    const std::vector<PlaceMark>* marks;
    ViewRect keepClear;  // the time display, in viewport pixels
    float dpiScale;
};
