// The wallpaper's Earth: one frame drawn without a window into an off-screen bitmap of any
// size, with the best texture quality.
#pragma once

#include "render/EarthScene.h"
#include "render/EarthTextures.h"
#include "render/GLTarget.h"
#include "render/GlobeArrays.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class RecursiveLock;

// One of the four Moon-phase corners: the phase and its two texts.
struct PhaseCorner {
    int phase;
    std::string name;   // "Full Moon"
    std::string label;  // local calendar date, "Dec 24"
};

// What one wallpaper picture shows (a snapshot taken under the options lock).
struct WallpaperRequest {
    int width, height;
    SceneInputs scene;  // its spinAngle is ignored: the wallpaper keeps its own
    bool moonPhases = false;
    PhaseCorner corners[4] = {};  // upper left, upper right, lower left, lower right
    std::string leftText, rightText;  // bottom corners; empty for none
    // The picture's edges the taskbar covers, in picture pixels: the corners keep clear of them
    // (the globe stays in the picture's middle).
    int coveredLeft = 0, coveredTop = 0, coveredRight = 0, coveredBottom = 0;
    int dpi = 96;  // the screen's: the phases and texts are sized for it
};

// A finished picture: width x height pixels of blue, green, red and an unused byte, rows
// `rowStride` bytes apart from the bottom one up. Valid until the renderer draws again or
// is destroyed.
struct WallpaperPicture {
    const uint8_t* bottomRow = nullptr;  // null when no off-screen context could be made
    std::ptrdiff_t rowStride = 0;
    int width = 0, height = 0;
};

// Draws wallpaper pictures on the thread that owns it. The off-screen surface, its context
// and the Earth textures are made for the first picture and kept for the next ones while the
// size and the maps shown stay the same: making them costs more than drawing a picture.
class WallpaperRenderer {
public:
    WallpaperRenderer();

    WallpaperPicture render(const WallpaperRequest& request, RecursiveLock& optionsLock);

    // The wallpaper's own turn of the ticking and spinning globe: 180 degrees at first, five
    // more at each renewal (all the pictures of one renewal show the globe alike).
    float angle() const { return angle_; }
    void turn(int viewpoint);

private:
    // Makes the surface current at the picture's size, first making it and the textures when
    // needed. The context (and with it the textures and lists) goes with the target.
    bool prepare(int width, int height, unsigned maps);

    GLTarget target_;
    unsigned maps_ = 0;
    GLuint textures_[kEarthTextureCount] = {};
    GLuint grid_ = 0;
    const GlobeArrays globe_;
    float angle_ = 180.0f;
};

// Draws the wallpaper frame into the current context (the caller has set the projection,
// cleared, and enabled clip plane 0), with the Moon sprite showing `moonPicture` (64 x 64 RGBA).
void renderWallpaperEarth(const SceneResources& resources, const SceneInputs& inputs,
                          const std::vector<uint8_t>& moonPicture, RecursiveLock& optionsLock);
