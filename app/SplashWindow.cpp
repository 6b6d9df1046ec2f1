#include "app/SplashWindow.h"

#include "platform/Dpi.h"
#include "platform/Resources.h"

#include "res/resource.h"

bool SplashWindow::enabled_ = false;
SplashWindow* SplashWindow::shown_ = nullptr;

namespace {

const char kClassName[] = "SolvaneSplash";

bool IsInputPress(UINT message) {
    switch (message) {
    case WM_KEYDOWN: case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN: case WM_NCRBUTTONDOWN: case WM_NCMBUTTONDOWN:
        return true;
    }
    return false;
}

}  // namespace

void SplashWindow::show(HWND owner) {
    if (!enabled_ || shown_ != nullptr) return;
    auto* splash = new SplashWindow;
    if (!splash->create(owner)) {
        delete splash;
        return;
    }
    shown_ = splash;
    UpdateWindow(splash->hwnd());
}

bool SplashWindow::create(HWND owner) {
    RECT work = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    // The picture at the size of the monitor's DPI, where the window is about to open.
    const POINT centre = {work.left + (work.right - work.left) / 2, work.top + (work.bottom - work.top) / 2};
    bitmap_ = LoadBitmapForDpi(IDB_SPLASH, DpiAtPoint(centre));
    if (!bitmap_ || !registerClass(kClassName)) return false;
    BITMAP size = {};
    GetObjectA(bitmap_.get(), sizeof size, &size);
    const int x = work.left + (work.right - work.left - size.bmWidth) / 2;
    const int y = work.top + (work.bottom - work.top - size.bmHeight) / 2;
    if (!Window::create(0, kClassName, "", WS_POPUP | WS_VISIBLE, x, y, size.bmWidth,
                        size.bmHeight, owner)) {
        return false;
    }
    SetTimer(hwnd(), kHideTimerId, kHideAfterMs, nullptr);
    return true;
}

bool SplashWindow::filterMessage(const MSG& message) {
    if (shown_ == nullptr || !IsInputPress(message.message)) return false;
    shown_->hide();
    return true;
}

void SplashWindow::hide() {
    HWND owner = GetWindow(hwnd(), GW_OWNER);
    destroy();
    if (owner != nullptr) UpdateWindow(owner);
}

void SplashWindow::onPaint(HDC dc) {
    const MemoryDC memory = MemoryDC::CompatibleWith(dc);
    const SelectedObject selection(memory.get(), bitmap_.get());
    BITMAP size = {};
    GetObjectA(bitmap_.get(), sizeof size, &size);
    BitBlt(dc, 0, 0, size.bmWidth, size.bmHeight, memory.get(), 0, 0, SRCCOPY);
}

void SplashWindow::onTimer(UINT_PTR id) {
    if (id == kHideTimerId) hide();
}

void SplashWindow::onFinalMessage() {
    if (shown_ == this) shown_ = nullptr;
    delete this;
}
