#include "saver/SaverEarthView.h"

#include "app/UserOptions.h"
#include "render/ViewPalette.h"

namespace {

constexpr UINT_PTR kFrameTimer = 901;

}  // namespace

bool SaverEarthView::wantsHardware() const { return model().options.useHardware3D != 0 && !HardwareFailedThisRun(); }

bool SaverEarthView::onCreate() {
    if (!EarthView::onCreate()) return false;
    palette_ = RealizeFormatPalette(target(), windowDC());
    SetTimer(hwnd(), kFrameTimer, model().options.viewpoint == kViewSpinningGlobe ? 25 : 1000, nullptr);
    return true;
}

void SaverEarthView::onDestroy() {
    KillTimer(hwnd(), kFrameTimer);
    ReleaseFormatPalette(windowDC(), palette_);  // while the view still holds its DC
    EarthView::onDestroy();
}

LRESULT SaverEarthView::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_TIMER:
        if (wParam == kFrameTimer) InvalidateRect(hwnd(), nullptr, FALSE);
        return 0;
    case WM_NCHITTEST:
        return HTTRANSPARENT;  // the mouse belongs to the saver's window, which ends on it
    }
    return EarthView::handleMessage(message, wParam, lParam);
}
