#include "saver/ScreenSaverWindow.h"

#include <windowsx.h>

#include <cstdlib>

namespace {

const char kClassName[] = "WindowsScreenSaverClass";
constexpr DWORD kGraceMs = 1000;  // what the mouse does while the saver starts does not count
constexpr int kMouseSlack = 4;    // pixels a resting mouse may wander

}  // namespace

bool ScreenSaverWindow::create() {
    if (!registerClass(kClassName, 0, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)))) return false;
    const int x = GetSystemMetrics(SM_XVIRTUALSCREEN), y = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN), height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    return Window::create(WS_EX_TOPMOST, kClassName, "Solvane", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, x, y,
                          width, height);
}

// The Earth over the primary monitor; other monitors stay black.
bool ScreenSaverWindow::onCreate() {
    earth_.create(hwnd(), -GetSystemMetrics(SM_XVIRTUALSCREEN), -GetSystemMetrics(SM_YVIRTUALSCREEN),
                  GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), "SVSaver2002", "SVGlobe");
    SetFocus(hwnd());
    startTicks_ = GetTickCount();  // the grace period runs from when the saver can answer
    return true;
}

void ScreenSaverWindow::onDestroy() { PostQuitMessage(0); }

void ScreenSaverWindow::activity() {
    if (GetTickCount() - startTicks_ >= kGraceMs) PostMessageA(hwnd(), WM_CLOSE, 0, 0);
}

void ScreenSaverWindow::onMouseMove(POINT at) {
    if (!mouseSeen_) {
        mouseSeen_ = true;
        firstMouse_ = at;
    } else if (std::abs(at.x - firstMouse_.x) > kMouseSlack || std::abs(at.y - firstMouse_.y) > kMouseSlack) {
        activity();
    }
}

LRESULT ScreenSaverWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SETCURSOR:
        SetCursor(nullptr);
        return TRUE;
    case WM_MOUSEMOVE:
        onMouseMove({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN:
    case WM_MOUSEWHEEL:
        activity();
        return 0;
    case WM_ACTIVATEAPP:
        // Another window in front takes the keys: the saver ends, grace period or not.
        if (!wParam) PostMessageA(hwnd(), WM_CLOSE, 0, 0);
        break;
    case WM_SYSCOMMAND:
        // Not to be moved, sized or swapped away while it runs.
        if ((wParam & 0xFFF0) == SC_SCREENSAVE || (wParam & 0xFFF0) == SC_CLOSE) return 0;
        break;
    }
    return Window::handleMessage(message, wParam, lParam);
}
