#include "desktop/FrameVisibility.h"

#include <dwmapi.h>

namespace {

FrameVisibility* watcher = nullptr;  // the one earth clock window's

// Changes to other windows are looked at a moment later, once for a burst of them.
constexpr UINT kRecheckDelayMs = 100;

// Windows 8's: declared only for programs that need Windows 8 (this one starts on 7, where
// nothing is cloaked and the hook and the attribute are simply never answered).
constexpr DWORD kEventObjectCloaked = 0x8017, kEventObjectUncloaked = 0x8018;
constexpr DWORD kDwmCloaked = 14;  // DWMWA_CLOAKED
constexpr LONG_PTR kNoRedirectionBitmap = 0x00200000;  // WS_EX_NOREDIRECTIONBITMAP

// On another virtual desktop, or a shell window kept alive but not shown.
bool Cloaked(HWND window) {
    DWORD cloaked = 0;
    return SUCCEEDED(DwmGetWindowAttribute(window, kDwmCloaked, &cloaked, sizeof cloaked)) && cloaked != 0;
}

}  // namespace

bool FullyCovered(HWND frame) {
    if (!IsWindowVisible(frame) || IsIconic(frame) || Cloaked(frame)) return true;
    RECT r, screen = {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN), 0, 0};
    screen.right = screen.left + GetSystemMetrics(SM_CXVIRTUALSCREEN);
    screen.bottom = screen.top + GetSystemMetrics(SM_CYVIRTUALSCREEN);
    GetWindowRect(frame, &r);
    if (!IntersectRect(&r, &r, &screen)) return true;
    HRGN open = CreateRectRgnIndirect(&r);
    bool covered = false;
    for (HWND above = GetWindow(frame, GW_HWNDPREV); above != nullptr && !covered;
         above = GetWindow(above, GW_HWNDPREV)) {
        // Layered, click-through and composition-drawn windows, and shaped ones, may let the
        // frame show through: in doubt, the frame is drawn.
        const LONG_PTR exStyle = GetWindowLongPtrW(above, GWL_EXSTYLE);
        RECT over;
        if (!IsWindowVisible(above) || IsIconic(above) ||
            (exStyle & (WS_EX_LAYERED | WS_EX_TRANSPARENT | kNoRedirectionBitmap)) || Cloaked(above) ||
            GetWindowRgnBox(above, &over) != ERROR) {
            continue;
        }
        // What it shows: without the invisible resize borders of Windows 10 and 11.
        if (FAILED(DwmGetWindowAttribute(above, DWMWA_EXTENDED_FRAME_BOUNDS, &over, sizeof over))) {
            GetWindowRect(above, &over);
        }
        HRGN cover = CreateRectRgnIndirect(&over);
        covered = CombineRgn(open, open, cover, RGN_DIFF) == NULLREGION;
        DeleteObject(cover);
    }
    DeleteObject(open);
    return covered;
}

void FrameVisibility::watch(HWND frame, std::function<void()> seenAgain) {
    unwatch();
    frame_ = frame;
    seenAgain_ = std::move(seenAgain);
    watcher = this;
    // Windows coming, going, moved by the user, minimised or restored, brought to the front,
    // cloaked. (Not every move: the cursor's and the caret's would wake the clock all the time;
    // the tick's look now and then finds the rest.)
    const DWORD flags = WINEVENT_OUTOFCONTEXT;
    hooks_[0] = SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_MINIMIZEEND, nullptr, onWinEvent, 0, 0, flags);
    hooks_[1] = SetWinEventHook(EVENT_OBJECT_DESTROY, EVENT_OBJECT_REORDER, nullptr, onWinEvent, 0, 0, flags);
    hooks_[2] = SetWinEventHook(kEventObjectCloaked, kEventObjectUncloaked, nullptr, onWinEvent, 0, 0, flags);
    recheck();
}

void FrameVisibility::unwatch() {
    for (HWINEVENTHOOK& hook : hooks_) {
        if (hook != nullptr) UnhookWinEvent(hook);
        hook = nullptr;
    }
    if (recheckTimer_ != 0) KillTimer(nullptr, recheckTimer_);
    recheckTimer_ = 0;
    if (watcher == this) watcher = nullptr;
    frame_ = nullptr;
    covered_ = false;
}

void FrameVisibility::setSessionShown(bool shown) {
    sessionShown_ = shown;
    recheck();
}

void FrameVisibility::setDisplayOn(bool on) {
    displayOn_ = on;
    recheck();
}

void FrameVisibility::recheck() {
    if (frame_ == nullptr) return;
    const bool wasSeen = seen();
    covered_ = FullyCovered(frame_);
    if (seen() && !wasSeen && seenAgain_) seenAgain_();
}

bool FrameVisibility::lookAgain(HWND frame) {
    if (!sessionShown_ || !displayOn_) return false;  // nothing to look at meanwhile
    covered_ = FullyCovered(frame);
    return seen();
}

void CALLBACK FrameVisibility::onWinEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD,
                                          DWORD) {
    // Windows only (not carets or the cursor); of those that still exist, top-level ones.
    if (watcher == nullptr || object != OBJID_WINDOW || child != CHILDID_SELF || window == nullptr) return;
    if (event != EVENT_OBJECT_DESTROY && GetAncestor(window, GA_ROOT) != window) return;
    if (watcher->recheckTimer_ == 0) watcher->recheckTimer_ = SetTimer(nullptr, 0, kRecheckDelayMs, onRecheckTimer);
}

void CALLBACK FrameVisibility::onRecheckTimer(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    if (watcher == nullptr) return;
    watcher->recheckTimer_ = 0;
    watcher->recheck();
}
