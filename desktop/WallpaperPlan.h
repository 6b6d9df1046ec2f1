// Which pictures a wallpaper renewal makes, and for where: one per monitor at the monitor's own
// size, one across all monitors, or one picture for the whole desktop; each with the part the
// taskbar covers, which the Moon's phases and the corner texts keep clear of. And how the
// desktop places them: as the user has chosen, changed only where the pictures need it, and
// the user's own placement remembered until it is given back.
#pragma once

#include <string>
#include <vector>

class Registry;

// A rectangle on the virtual screen, in physical pixels; right and bottom are outside it.
struct ScreenRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
};

// A monitor as the shell names it: where it lies, the part the taskbar leaves, its DPI.
struct MonitorArea {
    std::string id;
    ScreenRect area, work;
    int dpi = 96;
};

enum class PictureTarget {
    WholeDesktop,  // one picture set the classic way, Windows stretching it over each screen
    OneMonitor,    // shown unscaled on the monitor `monitorId`
    AllMonitors,   // one picture spanning the virtual screen
};

struct PlannedPicture {
    PictureTarget target = PictureTarget::WholeDesktop;
    std::string monitorId;
    std::string fileName;  // in the user's picture folder
    int width = 0, height = 0;
    // Picture pixels the taskbar covers along each edge.
    int coveredLeft = 0, coveredTop = 0, coveredRight = 0, coveredBottom = 0;
    int dpi = 96;  // the phases and texts are sized for it
};

struct WallpaperLayout {
    // The monitors the shell can give a picture each; empty where it cannot (before Windows 8),
    // which leaves one picture for the whole desktop.
    std::vector<MonitorArea> monitors;
    MonitorArea primary;
    bool acrossMonitors = false;  // one picture spanning them all, not one each
    // A stored size replaces the screens' sizes: one picture of it for the whole desktop.
    bool fullDesktop = true;
    int storedWidth = 0, storedHeight = 0;
};

constexpr char kDesktopPictureName[] = "Solvane.bmp";

// One monitor, or none the shell can name: one picture, "Solvane.bmp".
std::vector<PlannedPicture> PlanWallpaperPictures(const WallpaperLayout& layout);

// "Solvane-<8 hex digits>.bmp", the same for a monitor every time, different for two monitors.
std::string MonitorPictureName(const std::string& monitorId);
// Whether `fileName` has the form of a monitor's picture (so that one no longer planned is
// deleted).
bool IsMonitorPictureName(const std::string& fileName);

// How the desktop places its wallpaper, numbered as the shell numbers its positions.
enum class WallpaperPosition { Center = 0, Tile = 1, Stretch = 2, Fit = 3, Fill = 4, Span = 5 };

// The user's own placement while the pictures show in another one, with the one set for them
// (a placement found changed since is the user's new choice).
struct HeldPlacement {
    bool held = false;
    WallpaperPosition users = WallpaperPosition::Fill, applied = WallpaperPosition::Fill;
};

// What to do to the desktop's placement: set `position` when `change`; keep `held` after.
struct PlacementStep {
    bool change = false;
    WallpaperPosition position = WallpaperPosition::Fill;
    HeldPlacement held;
};

// The placement for showing `plan` when the desktop's is `current`: the user's, except that
// pictures of their own on several monitors cannot span them (they fill each screen instead)
// and one picture across all monitors must span them.
PlacementStep PlaceWallpaperPictures(const std::vector<PlannedPicture>& plan, WallpaperPosition current,
                                     const HeldPlacement& held);
// The user's placement back when the generator is switched off; nothing when the user has
// chosen another since.
PlacementStep GiveBackPlacement(WallpaperPosition current, const HeldPlacement& held);

// The held placement in the current user's registry, where the uninstaller finds it too.
extern const char kHeldPlacementKeyPath[];  // under HKEY_CURRENT_USER
HeldPlacement LoadHeldPlacement(Registry& registry);
// Stores `held` (deletes the values when nothing is held); false when it could not be stored.
bool StoreHeldPlacement(Registry& registry, const HeldPlacement& held);
