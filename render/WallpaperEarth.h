// The wallpaper's Earth: one frame drawn without a window into an off-screen bitmap of any
// size, with the best texture quality.
#pragma once

#include "render/EarthScene.h"

#include <cstdint>
#include <vector>

class RecursiveLock;

// What one wallpaper picture shows (a snapshot taken under the options lock).
struct WallpaperRequest {
    int width, height;
    SceneInputs scene;  // its spinAngle is ignored: the wallpaper keeps its own
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
