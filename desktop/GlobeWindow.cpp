#include "desktop/GlobeWindow.h"

#include "app/UserOptions.h"
#include "platform/Resources.h"
#include "res/resource.h"

namespace {

const char kClassName[] = "SolvaneGlobeWindow";

}  // namespace

bool GlobeWindow::create(const RECT& bounds, bool show) {
    HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_SOLVANE));
    if (!registerClass(kClassName, CS_DBLCLKS, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)), icon)) {
        return false;
    }
    const std::string title = LoadResourceString(IDS_APP_NAME);
    if (!Window::create(0, kClassName, title.c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                        bounds.left, bounds.top, bounds.right - bounds.left,
                        bounds.bottom - bounds.top)) {
        return false;
    }
    if (show) ShowWindow(hwnd(), SW_SHOWNORMAL);
    return true;
}

bool GlobeWindow::onCreate() {
    RECT client;
    GetClientRect(hwnd(), &client);
    if (!view_.create(hwnd(), 0, 0, client.right, client.bottom)) return false;
    return true;
}

LRESULT GlobeWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE:
        MoveWindow(view_.hwnd(), 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    case WM_CLOSE:
        // The program lives on in the notification area; the tray icon shows the window again.
        ShowWindow(hwnd(), SW_HIDE);
        return 0;
    }
    return Window::handleMessage(message, wParam, lParam);
}
