// The wallpaper's Earth: one frame drawn without a window into an off-screen bitmap of any
// size, with the best texture quality.
#pragma once

#include "render/EarthScene.h"

#include <cstdint>
#include <vector>

class RecursiveLock;

#include <string>

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
};

class WallpaperRenderer {
public:
    // The picture as packed rows of blue, green, red bytes, bottom row first; empty when no
    // off-screen context could be made.
    std::vector<uint8_t> render(const WallpaperRequest& request, RecursiveLock& optionsLock);

    // The wallpaper's own turn of the ticking and spinning globe: 180 degrees at first, five
    // more at each picture.
    float angle() const { return angle_; }

private:
    float angle_ = 180.0f;
};

// Draws the wallpaper frame into the current context (the caller has set the projection,
// cleared, and enabled clip plane 0), with the Moon sprite showing `moonPicture` (64 x 64 RGBA).
void renderWallpaperEarth(const SceneResources& resources, const SceneInputs& inputs,
                          const std::vector<uint8_t>& moonPicture, RecursiveLock& optionsLock);
