// One renewal of the wallpaper: the pictures the monitors and the options ask for, drawn one at
// a time (one picture's buffers at most), each written and shown before the next is drawn,
// the desktop's placement changed first where they need it; then, when all of them show, the
// pictures no longer planned are deleted and the renderer lets go of its surface and maps.
#pragma once

#include "desktop/WallpaperPlan.h"
#include "render/WallpaperEarth.h"

#include <functional>
#include <string>

struct IDesktopWallpaper;
class RecursiveLock;
class Registry;

// `scene` is what every picture shows (its size, covered edges and DPI are set per picture);
// `layout` holds the options' choices, its monitors are filled here from `shell` (null: one
// picture for the whole desktop). Pictures go to `folder` (ending in a separator). A picture
// whose file cannot be written leaves the previous one shown. The user's placement, when it is
// changed, is kept in `registry`. Returns how many were shown.
int RenewWallpapers(WallpaperRenderer& renderer, const WallpaperRequest& scene, WallpaperLayout layout,
                    IDesktopWallpaper* shell, Registry& registry, const std::string& folder,
                    RecursiveLock& engineLock, const std::function<bool()>& running);

// The generator is off: the user's placement, when a renewal changed it, is given back (the
// last pictures stay).
void GiveBackWallpaperPlacement(IDesktopWallpaper* shell, Registry& registry);
