// The orbit view's moving parts drawn without OpenGL: the lit Earth and Moon seen through the
// scene's camera, and the inset of the phase, pixel by pixel into a bitmap of the view. A frame
// touches only the few thousand pixels of the three balls, where a renderer's frame would cost
// the whole view.
#pragma once

#include "almanac/OrbitAnimation.h"

#include <cstdint>
#include <vector>

// A bitmap to draw into: blue-green-red-x pixels, rows from the top, `width` pixels a row.
struct PixelCanvas {
    uint8_t* pixels = nullptr;
    int width = 0, height = 0;
};

// A rectangle of a bitmap's pixels: `left` and `top` in it, `right` and `bottom` just past it.
struct PixelBox {
    int left = 0, top = 0, right = 0, bottom = 0;
};

// The smallest box holding both.
PixelBox Union(const PixelBox& a, const PixelBox& b);

// A surface map: blue-green-red pixels, rows from the bottom (the south edge first), as the
// program's bitmap resources hold them.
struct SurfaceMap {
    std::vector<uint8_t> bgr;
    int width = 0, height = 0;
};

// The map `bgr` (width x height, rows from the bottom) halved until half its width would fall
// below `pixelsAcross`, the pixels its width covers on the view, so that a turning map does not
// shimmer.
SurfaceMap MapForPixels(const uint8_t* bgr, int width, int height, double pixelsAcross);

// The inset's phase ball on a width x height view, in pixels.
ViewDisc OrbitInsetOnView(const OrbitScene& scene, int width, int height);

// Draws the orbit view's balls on a view of one size: the Earth, its map on it (an
// equirectangular map, longitude 0 at its left edge), and the Moon, both lit from the scene's
// light and the farther first; then the inset, the phase the Moon shows from the Earth, with
// the face over its lit part. Ball edges are blended with what lies under them.
//
// The Earth stays in place and only turns about its axis, and the inset stays too: what each of
// their pixels shows of its ball (where on the map, how lit, how covered) is found once, and a
// frame only looks up the turned map and the phase there.
class OrbitPainter {
public:
    OrbitPainter(const OrbitScene& scene, int width, int height, SurfaceMap earthMap, SurfaceMap face);
    // Draws over `canvas`, which has the painter's size.
    void draw(PixelCanvas& canvas, const OrbitAngles& angles) const;
    // Where the balls may draw: the Earth, the inset, and the Moon at `angle`.
    PixelBox earthBox() const { return earthBox_; }
    PixelBox insetBox() const { return insetBox_; }
    PixelBox moonBox(float angle) const;

private:
    struct EarthPixel {
        int x, y;
        float cover, light;
        float longitude;             // 0 to 1, at the Earth's angle 0
        int row0, row1;              // the map's texel rows above and below the latitude (texels in)
        float belowShare;            // of the second row
    };
    struct InsetPixel {
        int x, y;
        float cover;
        float blue, green, red;  // the face
        float across[4], depth[4];  // four points of the pixel on the unit ball: x, and z to the viewer
    };
    void drawEarth(PixelCanvas& canvas, float angle) const;
    void drawMoon(PixelCanvas& canvas, float angle) const;
    void drawInset(PixelCanvas& canvas, float angle) const;

    OrbitScene scene_;
    int width_, height_;
    SurfaceMap earthMap_;
    PixelBox earthBox_, insetBox_;
    std::vector<EarthPixel> earth_;
    std::vector<InsetPixel> inset_;
};
