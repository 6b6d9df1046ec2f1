#include "desktop/TrayFrame.h"

#include "app/ClockApp.h"
#include "app/OptionsStore.h"
#include "app/SplashWindow.h"
#include "platform/Resources.h"
#include "res/resource.h"

namespace {
const char kClassName[] = "SolvaneTrayFrame";
}

bool TrayFrame::create() {
    if (!registerClass(kClassName)) return false;
    const std::string title = LoadResourceString(IDS_HIDDEN_WINDOW_TITLE);
    return Window::create(0, kClassName, title.c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                          CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT);
}

bool TrayFrame::onCreate() {
    SplashWindow::show(hwnd());
    return true;
}

void TrayFrame::onDestroy() { PostQuitMessage(0); }

bool TrayFrame::onCommand(UINT id) {
    if (id != ID_APP_EXIT) return false;
    SendMessageA(hwnd(), WM_CLOSE, 0, 0);
    return true;
}

LRESULT TrayFrame::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_TIMECHANGE:
        RefreshTimeZone(app_.options, app_.optionsServices());
        return 0;
    case WM_ENDSESSION:
        // The process may be ended as soon as this returns: run the exit steps now.
        if (wParam) app_.exitOnce();
        return 0;
    }
    return Window::handleMessage(message, wParam, lParam);
}
