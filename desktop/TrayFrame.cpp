#include "desktop/TrayFrame.h"

#include "app/ClockApp.h"
#include "app/OptionsStore.h"
#include "app/SplashWindow.h"
#include "desktop/ClockTimer.h"
#include "desktop/GlobeWindow.h"
#include "platform/Resources.h"
#include "res/resource.h"

#include <mutex>

namespace {
const char kClassName[] = "SolvaneTrayFrame";
}

TrayFrame::TrayFrame(ClockApp& app) : app_(app) {}

TrayFrame::~TrayFrame() = default;

bool TrayFrame::create() {
    if (!registerClass(kClassName)) return false;
    const std::string title = LoadResourceString(IDS_HIDDEN_WINDOW_TITLE);
    return Window::create(0, kClassName, title.c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                          CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT);
}

bool TrayFrame::onCreate() {
    SplashWindow::show(hwnd());
    const UserOptions& o = app_.options;
    const RECT bounds = {o.frameLeft, o.frameTop, o.frameRight, o.frameBottom};
    globeWindow_ = std::make_unique<GlobeWindow>(
        EarthViewModel{app_.options, app_.astro, app_.optionsLock, app_.clock}, hwnd());
    globeWindow_->create(bounds, o.startInTrayOnly == 0);
    if (o.wallpaperEnabled == 1) {
        {
            std::lock_guard<RecursiveLock> hold(app_.optionsLock);
            UpdateAstroState(app_.astro, app_.options, app_.clock, true);
        }
        PulseEvent(app_.wallpaperEvent);
    }
    clockTimer_ = std::make_unique<ClockTimer>(app_);
    clockTimer_->start(globeWindow_->hwnd(), globeWindow_->view());
    return true;
}

void TrayFrame::onDestroy() {
    clockTimer_.reset();
    globeWindow_.reset();
    PostQuitMessage(0);
}

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
        // The process may be ended as soon as this returns: run the exit steps now, then close
        // the windows so that nothing draws with what the exit released.
        if (wParam) {
            app_.exitOnce();
            DestroyWindow(hwnd());
        }
        return 0;
    }
    return Window::handleMessage(message, wParam, lParam);
}
