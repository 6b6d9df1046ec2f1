#include "desktop/EarthFrame.h"

#include "app/ClockApp.h"
#include "desktop/Commands.h"
#include "desktop/EarthFrameRules.h"
#include "platform/Dpi.h"
#include "platform/HandleOwners.h"
#include "desktop/NoticeDialog.h"
#include "location/WorldPlaceMarks.h"
#include "platform/Resources.h"
#include "res/resource.h"
#include "ui/SkinBrushes.h"

#include <algorithm>
#include <mutex>

namespace {

const char kClassName[] = "SolvaneEarthFrame";
constexpr int kPaneId = 103;
constexpr int kViewId = 104;
constexpr DWORD kFrameStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
constexpr DWORD kRestoredStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;

HMENU LoadMenuBar() { return LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_FRAME_MENU)); }

}  // namespace

EarthFrame::EarthFrame(ClockApp& app, HWND trayFrame)
    : app_(app),
      view_(EarthViewModel{app.settings().shared().options, app.settings().shared().astro,
                           app.settings().shared().lock, app.settings().shared().clock, false,
                           // The window is made anew with a software format, and the user told.
                           [trayFrame] {
                               PostMessageA(trayFrame, WM_RESTART_EARTH_WINDOW, RESTART_EARTH_WINDOW_KEY,
                                            IDS_HARDWARE_FALLBACK);
                           },
                           [&app] { return ClockPlaceMarks(app.settings()); }, &app.settings().shared().world}),
      pane_(app.settings().shared()) {}

bool EarthFrame::createWindow() {
    HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_SOLVANE));
    if (!registerClass(kClassName, CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_OWNDC, nullptr, icon)) {
        return false;
    }
    const std::string title = LoadResourceString(IDS_APP_NAME);
    placing_ = true;
    const bool made = Window::create(WS_EX_CLIENTEDGE, kClassName, title.c_str(), kFrameStyle,
                                     CW_USEDEFAULT, CW_USEDEFAULT, kMinimumFrameWidth,
                                     kMinimumFrameHeight, nullptr, LoadMenuBar());
    if (made) placeAtStoredRect(SWP_NOZORDER | SWP_NOACTIVATE);
    placing_ = false;
    return made;
}

Extent EarthFrame::minimumSize(UINT dpi) const {
    const SIZE around = FrameAroundClient(hwnd(), dpi);
    Extent frame = {around.cx, around.cy};
    // A menu bar wrapped onto more rows adds more: as the window is laid out now.
    RECT window, client;
    if (!IsIconic(hwnd()) && GetWindowRect(hwnd(), &window) && GetClientRect(hwnd(), &client) && client.bottom > 0) {
        frame.width = std::max<int>(frame.width, (window.right - window.left) - client.right);
        frame.height = std::max<int>(frame.height, (window.bottom - window.top) - client.bottom);
    }
    return MinimumFrameSize(app_.settings().snapshot().detailsPaneHidden == 0, frame, int(dpi));
}

Box EarthFrame::placeOnWorkArea(const RECT& r) const {
    MONITORINFO monitor = {sizeof(monitor)};
    GetMonitorInfoA(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    const POINT middle = {work.left + (work.right - work.left) / 2, work.top + (work.bottom - work.top) / 2};
    return PlaceFrame(r.left, r.top, r.right, r.bottom,
                      {work.left, work.top, work.right - work.left, work.bottom - work.top},
                      minimumSize(DpiAtPoint(middle)));
}

void EarthFrame::placeAtStoredRect(UINT flags) {
    const UserOptions o = app_.settings().snapshot();
    const Box placed = placeOnWorkArea({o.frameLeft, o.frameTop, o.frameRight, o.frameBottom});
    const bool wasPlacing = placing_;
    placing_ = true;
    SetWindowPos(hwnd(), nullptr, placed.x, placed.y, placed.width, placed.height, flags);
    placing_ = wasPlacing;
    shown_ = placed;
}

void EarthFrame::open(bool show) {
    // The tick reads the clock only while the window exists: it opens with the time of now.
    app_.settings().advanceClock(false);
    if (hwnd() == nullptr && !createWindow()) return;
    if (!show) return;
    ShowWindow(hwnd(), IsIconic(hwnd()) ? SW_RESTORE : SW_SHOW);
    SetForegroundWindow(hwnd());
}

bool EarthFrame::onCreate() {
    DrawMenuBar(hwnd());
    if (!pane_.create(hwnd(), kPaneId)) return false;
    if (!view_.create(hwnd(), 0, 0, 300, 300)) return false;
    SetWindowLongPtrA(view_.hwnd(), GWLP_ID, kViewId);
    SetWindowTextA(view_.hwnd(), "3D Earth");
    // Seen again (uncovered, restored, unlocked): the clock draws the time of now at once.
    visibility.watch(hwnd(), [this] {
        if (clockMayResume) clockMayResume();
    });
    std::lock_guard<RecursiveLock> hold(app_.settings().shared().lock);
    tickWindows = {hwnd(), view_.hwnd(), pane_.hwnd()};
    return true;
}

// The frame hears of its end before its children do: the tick lets go of them first.
void EarthFrame::onDestroy() {
    visibility.unwatch();
    {
        std::lock_guard<RecursiveLock> hold(app_.settings().shared().lock);
        tickWindows = {};
    }
    fullScreen_ = 0;
}

void EarthFrame::layout(int width, int height) {
    const ChildLayout l = LayoutChildren(width, height, app_.settings().snapshot().detailsPaneHidden != 0, int(WindowDpi(hwnd())));
    if (l.paneShown) {
        MoveWindow(pane_.hwnd(), l.pane.x, l.pane.y, l.pane.width, l.pane.height, TRUE);
        ShowWindow(pane_.hwnd(), SW_SHOW);
    } else {
        ShowWindow(pane_.hwnd(), SW_HIDE);
    }
    MoveWindow(view_.hwnd(), l.view.x, l.view.y, l.view.width, l.view.height, TRUE);
}

void EarthFrame::setDetailsPane(bool show) {
    if (!show) ShowWindow(pane_.hwnd(), SW_HIDE);
    // The pane needs a larger window than the globe alone: a small window grows (and the new
    // size is remembered) as far as its monitor's work area allows.
    if (show && !fullScreen_ && !IsIconic(hwnd()) && !IsZoomed(hwnd())) {
        RECT r;
        GetWindowRect(hwnd(), &r);
        const Box fitted = placeOnWorkArea(r);
        if (fitted.x != r.left || fitted.y != r.top || fitted.width != r.right - r.left || fitted.height != r.bottom - r.top) {
            SetWindowPos(hwnd(), nullptr, fitted.x, fitted.y, fitted.width, fitted.height, SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    RECT client;
    GetClientRect(hwnd(), &client);
    layout(client.right, client.bottom);
}

void EarthFrame::storeRect() {
    if (placing_) return;
    RECT r;
    GetWindowRect(hwnd(), &r);
    shown_ = {r.left, r.top, r.right - r.left, r.bottom - r.top};
    app_.settings().update([&r](UserOptions& o) {
        o.frameLeft = r.left, o.frameTop = r.top, o.frameRight = r.right, o.frameBottom = r.bottom;
    });
}

void EarthFrame::enterFullScreen() {
    if (fullScreen_) return;
    if (app_.settings().snapshot().noticeFlags & kNoticeFullScreen) {
        const HWND window = hwnd();
        if (ShowNotice(window, IDD_FULL_SCREEN_NOTICE, SharedSkinBrushes())) {
            app_.settings().update([](UserOptions& o) { o.noticeFlags &= ~kNoticeFullScreen; });
        }
        if (hwnd() != window) return;  // the window went (exit, restart) while the notice was open
    }
    fullScreen_ = 1;
    // The whole of the monitor the window is on (most of it, when it straddles two).
    MONITORINFO monitor = {sizeof monitor};
    if (!GetMonitorInfoA(MonitorFromWindow(hwnd(), MONITOR_DEFAULTTONEAREST), &monitor)) {
        monitor.rcMonitor = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    }
    const RECT& screen = monitor.rcMonitor;
    const MenuHandle menuBar(GetMenu(hwnd()));  // the window's no longer once taken away
    SetMenu(hwnd(), nullptr);
    ShowWindow(hwnd(), SW_HIDE);
    SetWindowLongPtrA(hwnd(), GWL_STYLE, WS_POPUP | WS_CLIPCHILDREN);
    SetWindowLongPtrA(hwnd(), GWL_EXSTYLE, 0);
    SetWindowPos(hwnd(), HWND_TOP, screen.left, screen.top, screen.right - screen.left, screen.bottom - screen.top,
                 SWP_FRAMECHANGED | SWP_SHOWWINDOW);
}

void EarthFrame::leaveFullScreen() {
    ShowWindow(hwnd(), SW_HIDE);
    SetWindowLongPtrA(hwnd(), GWL_STYLE, kRestoredStyle);
    SetWindowLongPtrA(hwnd(), GWL_EXSTYLE, WS_EX_CLIENTEDGE);
    SetMenu(hwnd(), LoadMenuBar());
    DrawMenuBar(hwnd());
    placeAtStoredRect(SWP_NOZORDER | SWP_FRAMECHANGED | SWP_NOREDRAW);
    ShowWindow(hwnd(), SW_RESTORE);
    fullScreen_ = 0;
}

void EarthFrame::closeToTray() {
    if (app_.settings().snapshot().noticeFlags & kNoticeCloseToTray) {
        const HWND window = hwnd();
        if (ShowNotice(window, IDD_TRAY_REMINDER, SharedSkinBrushes())) {
            app_.settings().update([](UserOptions& o) { o.noticeFlags &= ~kNoticeCloseToTray; });
        }
        if (hwnd() != window) return;  // the window went (exit, restart) while the reminder was open
    }
    ShowWindow(hwnd(), SW_HIDE);
}

void EarthFrame::showContextMenu(int x, int y) {
    const MenuHandle menu(LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_CONTEXT_MENU)));
    if (!menu) return;
    HMENU popup = GetSubMenu(menu.get(), 0);
    // The lock is not held while the menu is open: the clock stands still anyway (the tick sees
    // `menuOpen`), and a session that ends meanwhile must find the tick and the wallpaper
    // thread free to stop at once.
    if (commands != nullptr) commands->prepare(popup);
    menuOpen = true;  // at once, not only when an item is first highlighted
    const UINT command = TrackPopupMenu(popup, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, x, y,
                                        0, hwnd(), nullptr);
    menuOpen = false;
    if (clockMayResume) clockMayResume();
    if (command == 0 || hwnd() == nullptr || commands == nullptr) return;
    commands->run(command, hwnd());
}

void EarthFrame::followSettings(const UserOptions& before, const UserOptions& after) {
    if (hwnd() == nullptr) return;
    const ChangeEffects effects = EffectsOfChange(before, after);
    if (effects.paneToggled) setDetailsPane(after.detailsPaneHidden == 0);
    // Behind a dialog of its own the globe stands still, as the clock does, until the dialog ends.
    if (effects.viewRedrawn && IsWindowEnabled(hwnd())) InvalidateRect(view_.hwnd(), nullptr, FALSE);
}

void EarthFrame::redrawGlobe() {
    if (hwnd() != nullptr && IsWindowEnabled(hwnd())) InvalidateRect(view_.hwnd(), nullptr, FALSE);
}

bool EarthFrame::onCommand(UINT id) {
    return commands != nullptr && commands->run(id, hwnd());
}

bool EarthFrame::onEraseBackground(HDC) { return true; }

SIZE EarthFrame::minimumTrackSize(UINT dpi) const {
    const Extent minimum = minimumSize(dpi);
    return {minimum.width, minimum.height};
}

// On a monitor of another DPI: the size Windows suggests (in full screen the monitor itself);
// the children follow the size.
RECT EarthFrame::placeForDpi(const RECT& suggested) const {
    RECT r = suggested;
    if (fullScreen_ != 0) {
        MONITORINFO monitor = {sizeof(monitor)};
        if (GetMonitorInfoA(MonitorFromWindow(hwnd(), MONITOR_DEFAULTTONEAREST), &monitor)) r = monitor.rcMonitor;
    }
    return r;
}

void EarthFrame::onSize(int width, int height, UINT kind) {
    if (StoresRectOnSize(fullScreen_ != 0, kind == SIZE_MINIMIZED, kind == SIZE_MAXIMIZED)) {
        storeRect();
    }
    layout(width, height);
}

void EarthFrame::onMove() {
    if (!fullScreen_ && !IsIconic(hwnd()) && !IsZoomed(hwnd())) {
        RECT r;
        GetWindowRect(hwnd(), &r);
        if (StoresRectOnMove(false, shown_, r.left, r.top, r.right, r.bottom)) storeRect();
    }
}

bool EarthFrame::onContextMenu(POINT at) {
    showContextMenu(at.x, at.y);
    return true;
}

void EarthFrame::onPlacementChanged() { visibility.recheck(); }

LRESULT EarthFrame::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_LBUTTONDBLCLK:
        if (fullScreen_) {
            leaveFullScreen();
        } else {
            enterFullScreen();
        }
        return 0;
    case WM_CLOSE:
        closeToTray();
        return 0;
    case WM_ENTERMENULOOP:
        menuOpen = true;
        if (commands != nullptr && wParam == FALSE) commands->prepare(GetMenu(hwnd()));
        break;
    case WM_MENUSELECT:
        menuOpen = !(HIWORD(wParam) == 0xFFFF && lParam == 0);
        break;
    case WM_EXITMENULOOP:
        menuOpen = false;
        if (clockMayResume) clockMayResume();
        break;
    case WM_ENABLE:
        if (wParam && clockMayResume) clockMayResume();
        break;
    }
    return Window::handleMessage(message, wParam, lParam);
}
