// One renewal of the wallpaper: the pictures the monitors and the options ask for, drawn one at
// a time (one picture's buffers at most), each written and shown before the next is drawn;
// then, when all of them show, the pictures of monitors no longer present are deleted.
#pragma once

#include "desktop/WallpaperPlan.h"
#include "render/WallpaperEarth.h"

#include <functional>
#include <string>

struct IDesktopWallpaper;
class RecursiveLock;

// `scene` is what every picture shows (its size, covered edges and DPI are set per picture);
// `layout` holds the options' choices, its monitors are filled here from `shell` (null: one
// picture for the whole desktop). Pictures go to `folder` (ending in a separator). A picture
// whose file cannot be written leaves the previous one shown. Returns how many were shown.
int RenewWallpapers(WallpaperRenderer& renderer, const WallpaperRequest& scene, WallpaperLayout layout,
                    IDesktopWallpaper* shell, const std::string& folder, RecursiveLock& optionsLock,
                    const std::function<bool()>& running);
