#include "saver/SaverEarthView.h"

#include "app/UserOptions.h"
#include "platform/ProcessCpu.h"
#include "platform/SystemClock.h"
#include "render/ViewPalette.h"

namespace {

constexpr UINT_PTR kFrameTimer = 901;

UINT Milliseconds(double seconds) { return UINT(seconds * 1000 + 0.5); }

// Until just after the clock's next second begins: the time shown changes with the clock's.
UINT MillisecondsToNextSecond() { return Milliseconds(1 - SecondFraction()) + 5; }

}  // namespace

bool SaverEarthView::wantsHardware() const { return model().options.useHardware3D != 0 && !HardwareFailedThisRun(); }

bool SaverEarthView::onCreate() {
    if (!EarthView::onCreate()) return false;
    palette_ = RealizeFormatPalette(target(), windowDC());
    spinning_ = model().options.viewpoint == kViewSpinningGlobe;
    frameMs_ = Milliseconds(kSpinPeriodSeconds);
    SetTimer(hwnd(), kFrameTimer, spinning_ ? frameMs_ : MillisecondsToNextSecond(), nullptr);
    return true;
}

void SaverEarthView::onDestroy() {
    KillTimer(hwnd(), kFrameTimer);
    ReleaseFormatPalette(windowDC(), palette_);  // while the view still holds its DC
    EarthView::onDestroy();
}

void SaverEarthView::pace() {
    const UINT ms = Milliseconds(pacer_.interval(ProcessCpuSeconds(), double(GetTickCount64()) / 1000));
    if (ms == frameMs_) return;
    frameMs_ = ms;
    SetTimer(hwnd(), kFrameTimer, frameMs_, nullptr);
}

void SaverEarthView::onTimer(UINT_PTR id) {
    if (id == kFrameTimer && spinning_) {
        InvalidateRect(hwnd(), nullptr, FALSE);
        pace();
    } else if (id == kFrameTimer) {
        showTime();
        SetTimer(hwnd(), kFrameTimer, MillisecondsToNextSecond(), nullptr);
    }
}

LRESULT SaverEarthView::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCHITTEST) return HTTRANSPARENT;  // the mouse belongs to the saver's window, which ends on it
    return EarthView::handleMessage(message, wParam, lParam);
}
