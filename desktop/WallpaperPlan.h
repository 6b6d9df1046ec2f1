// Which pictures a wallpaper renewal makes, and for where: one per monitor at the monitor's own
// size, one across all monitors, or one picture for the whole desktop; each with the part the
// taskbar covers, which the Moon's phases and the corner texts keep clear of.
#pragma once

#include <string>
#include <vector>

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

std::vector<PlannedPicture> PlanWallpaperPictures(const WallpaperLayout& layout);

// "Solvane-<8 hex digits>.bmp", the same for a monitor every time, different for two monitors.
std::string MonitorPictureName(const std::string& monitorId);
// Whether `fileName` has the form of a monitor's picture (so that one no longer planned is
// deleted).
bool IsMonitorPictureName(const std::string& fileName);
