// The desktop's monitors and the shell's way of giving each its own wallpaper (Windows 8 and
// later), with the classic single wallpaper where the shell has no such way.
#pragma once

#include "desktop/WallpaperPlan.h"
#include "platform/HandleOwners.h"

#include <windows.h>

#include <string>
#include <vector>

struct IDesktopWallpaper;

// The shell's wallpaper object, made on this thread (COM initialised) and released with this;
// null where there is none (before Windows 8; under wine).
class ShellWallpaper {
public:
    ShellWallpaper();
    ~ShellWallpaper();  // where the interface is complete
    IDesktopWallpaper* get() const { return shell_.get(); }

private:
    ComPtr<IDesktopWallpaper> shell_;
};

// The monitors `shell` can give a picture each, with the work area and DPI Windows reports for
// the same screen (its whole area where Windows knows no such screen); empty for a null shell.
std::vector<MonitorArea> ShellMonitors(IDesktopWallpaper* shell);

// The primary monitor: its area, work area and DPI.
MonitorArea PrimaryMonitor();

// Shows the bitmap at `path` as `picture` is planned: on its monitor, on all monitors (both
// through the shell), or as the classic wallpaper of every monitor; each in the desktop's
// placement. True when Windows took it.
bool ShowWallpaper(IDesktopWallpaper* shell, const PlannedPicture& picture, const std::string& path);

// The desktop's placement of its wallpaper, through the shell; false without one.
bool ShellPosition(IDesktopWallpaper* shell, WallpaperPosition* position);
bool SetShellPosition(IDesktopWallpaper* shell, WallpaperPosition position);
