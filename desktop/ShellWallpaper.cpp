// IDesktopWallpaper is declared for Windows 8 and later; it is asked for at run time, so the
// program still starts on Windows 7 (and falls back to the single wallpaper there).
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0602
#include "desktop/ShellWallpaper.h"

#include "platform/FailureTrace.h"
#include "platform/Dpi.h"
#include "platform/WideText.h"

#include <shobjidl.h>

static_assert(int(WallpaperPosition::Center) == DWPOS_CENTER && int(WallpaperPosition::Tile) == DWPOS_TILE &&
                  int(WallpaperPosition::Stretch) == DWPOS_STRETCH && int(WallpaperPosition::Fit) == DWPOS_FIT &&
                  int(WallpaperPosition::Fill) == DWPOS_FILL && int(WallpaperPosition::Span) == DWPOS_SPAN,
              "the shell's numbers");

namespace {

ScreenRect ScreenRectOf(const RECT& r) { return {int(r.left), int(r.top), int(r.right), int(r.bottom)}; }

struct MonitorSearch {
    RECT area;
    MONITORINFO found;
    bool matched;
};

BOOL CALLBACK MatchMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM search) {
    MonitorSearch& s = *reinterpret_cast<MonitorSearch*>(search);
    MONITORINFO info = {sizeof info};
    if (GetMonitorInfoW(monitor, &info) && EqualRect(&info.rcMonitor, &s.area)) {
        s.found = info;
        s.matched = true;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

ShellWallpaper::ShellWallpaper() {
    IDesktopWallpaper* shell = nullptr;
    const HRESULT made = CoCreateInstance(CLSID_DesktopWallpaper, nullptr, CLSCTX_ALL, IID_IDesktopWallpaper,
                                          reinterpret_cast<void**>(&shell));
    if (SUCCEEDED(made)) {
        shell_.reset(shell);
    } else {
        TraceFailure("CoCreateInstance DesktopWallpaper", DWORD(made));
    }
}

ShellWallpaper::~ShellWallpaper() = default;

std::vector<MonitorArea> ShellMonitors(IDesktopWallpaper* shell) {
    std::vector<MonitorArea> monitors;
    UINT count = 0;
    if (shell == nullptr || FAILED(shell->GetMonitorDevicePathCount(&count))) return monitors;
    for (UINT i = 0; i < count; ++i) {
        LPWSTR id = nullptr;
        RECT area = {};
        if (FAILED(shell->GetMonitorDevicePathAt(i, &id)) || id == nullptr) continue;
        // A monitor that is attached but not part of the desktop has no rectangle.
        if (SUCCEEDED(shell->GetMonitorRECT(id, &area)) && !IsRectEmpty(&area)) {
            MonitorSearch search = {area, {sizeof(MONITORINFO)}, false};
            EnumDisplayMonitors(nullptr, nullptr, MatchMonitor, reinterpret_cast<LPARAM>(&search));
            const POINT middle = {(area.left + area.right) / 2, (area.top + area.bottom) / 2};
            monitors.push_back({Utf8FromWide(std::wstring(id)), ScreenRectOf(area),
                                ScreenRectOf(search.matched ? search.found.rcWork : area), int(DpiAtPoint(middle))});
        }
        CoTaskMemFree(id);
    }
    return monitors;
}

MonitorArea PrimaryMonitor() {
    MONITORINFO info = {sizeof info};
    const HMONITOR primary = MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY);
    if (!GetMonitorInfoW(primary, &info)) {
        info.rcMonitor = info.rcWork = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    }
    return {std::string(), ScreenRectOf(info.rcMonitor), ScreenRectOf(info.rcWork), int(DpiAtPoint({0, 0}))};
}

bool ShowWallpaper(IDesktopWallpaper* shell, const PlannedPicture& picture, const std::string& path) {
    std::wstring wide = WideFromUtf8(path);
    if (shell != nullptr && picture.target != PictureTarget::WholeDesktop) {
        const bool one = picture.target == PictureTarget::OneMonitor;
        const HRESULT shown = shell->SetWallpaper(one ? WideFromUtf8(picture.monitorId).c_str() : nullptr, wide.c_str());
        if (FAILED(shown)) TraceFailure("IDesktopWallpaper::SetWallpaper " + path, DWORD(shown));
        return SUCCEEDED(shown);
    }
    if (SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, &wide[0], SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE)) return true;
    TraceFailure("SPI_SETDESKWALLPAPER " + path);
    return false;
}

bool ShellPosition(IDesktopWallpaper* shell, WallpaperPosition* position) {
    DESKTOP_WALLPAPER_POSITION shown;
    if (shell == nullptr || FAILED(shell->GetPosition(&shown)) || shown < DWPOS_CENTER || shown > DWPOS_SPAN) {
        return false;
    }
    *position = WallpaperPosition(shown);
    return true;
}

bool SetShellPosition(IDesktopWallpaper* shell, WallpaperPosition position) {
    return shell != nullptr && SUCCEEDED(shell->SetPosition(DESKTOP_WALLPAPER_POSITION(position)));
}
