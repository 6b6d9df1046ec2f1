#include "desktop/WallpaperRenewal.h"

#include "desktop/ShellWallpaper.h"
#include "platform/WideText.h"

#include <algorithm>

namespace {

// Deletes the pictures in `folder` that no planned picture uses.
void DeleteUnplannedPictures(const std::string& folder, const std::vector<PlannedPicture>& plan) {
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW(WideFromUtf8(folder + "Solvane*.bmp").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = Utf8FromWide(std::wstring(found.cFileName));
        const bool ours = name == kDesktopPictureName || IsMonitorPictureName(name);
        const bool planned = std::any_of(plan.begin(), plan.end(),
                                         [&](const PlannedPicture& p) { return p.fileName == name; });
        if (ours && !planned) DeleteFileW(WideFromUtf8(folder + name).c_str());
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

// Carries out `step`: what is held is stored before the placement changes, so that it is never
// lost.
void TakePlacementStep(IDesktopWallpaper* shell, Registry& registry, const PlacementStep& step) {
    StoreHeldPlacement(registry, step.held);
    if (step.change) SetShellPosition(shell, step.position);
}

}  // namespace

int RenewWallpapers(WallpaperRenderer& renderer, const WallpaperRequest& scene, WallpaperLayout layout,
                    IDesktopWallpaper* shell, Registry& registry, const std::string& folder,
                    RecursiveLock& engineLock, const std::function<bool()>& running) {
    layout.monitors = ShellMonitors(shell);
    layout.primary = PrimaryMonitor();
    const std::vector<PlannedPicture> plan = PlanWallpaperPictures(layout);
    // One surface for the renewal: its widest picture's width, its tallest band's rows.
    int surfaceWidth = 1, surfaceRows = 1;
    for (const PlannedPicture& planned : plan) {
        surfaceWidth = std::max(surfaceWidth, planned.width);
        surfaceRows = std::max(surfaceRows, WallpaperBandRows(planned.width, planned.height));
    }
    renderer.reserve(surfaceWidth, surfaceRows);
    int shown = 0;
    bool placed = false;  // the placement, once a first picture is there to show
    for (const PlannedPicture& planned : plan) {
        if (!running()) break;
        WallpaperRequest request = scene;
        request.width = planned.width;
        request.height = planned.height;
        request.coveredLeft = planned.coveredLeft;
        request.coveredTop = planned.coveredTop;
        request.coveredRight = planned.coveredRight;
        request.coveredBottom = planned.coveredBottom;
        request.dpi = planned.dpi;
        const std::string path = folder + planned.fileName;
        if (!WriteWallpaperFile(renderer, request, engineLock, path, running)) continue;
        WallpaperPosition current;
        if (!placed && ShellPosition(shell, &current)) {
            TakePlacementStep(shell, registry, PlaceWallpaperPictures(plan, current, LoadHeldPlacement(registry)));
        }
        placed = true;
        if (ShowWallpaper(shell, planned, path)) ++shown;
    }
    renderer.release();
    renderer.turn(scene.scene.viewpoint);
    // Only once every new picture shows: a failed renewal leaves the old ones on the screens.
    if (shown == int(plan.size())) DeleteUnplannedPictures(folder, plan);
    return shown;
}

void GiveBackWallpaperPlacement(IDesktopWallpaper* shell, Registry& registry) {
    const HeldPlacement held = LoadHeldPlacement(registry);
    WallpaperPosition current;
    if (held.held && ShellPosition(shell, &current)) TakePlacementStep(shell, registry, GiveBackPlacement(current, held));
}
