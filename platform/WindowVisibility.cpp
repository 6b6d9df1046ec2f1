#include "platform/WindowVisibility.h"

#include "platform/HandleOwners.h"

#include <dwmapi.h>

#include <algorithm>
#include <vector>

namespace {

// The windows followed, and the hooks and the timer they share (user-interface thread).
std::vector<WindowVisibility*> watchers;
HWINEVENTHOOK hooks[3] = {};
UINT_PTR recheckTimer = 0;

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

bool FullyCovered(HWND window) {
    if (!IsWindowVisible(window) || IsIconic(window) || Cloaked(window)) return true;
    RECT r, screen = {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN), 0, 0};
    screen.right = screen.left + GetSystemMetrics(SM_CXVIRTUALSCREEN);
    screen.bottom = screen.top + GetSystemMetrics(SM_CYVIRTUALSCREEN);
    GetWindowRect(window, &r);
    if (!IntersectRect(&r, &r, &screen)) return true;
    const GdiRegion open(CreateRectRgnIndirect(&r));
    bool covered = false;
    for (HWND above = GetWindow(window, GW_HWNDPREV); above != nullptr && !covered;
         above = GetWindow(above, GW_HWNDPREV)) {
        // Layered, click-through and composition-drawn windows, and shaped ones, may let the
        // window show through: in doubt, it is drawn.
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
        const GdiRegion cover(CreateRectRgnIndirect(&over));
        covered = CombineRgn(open.get(), open.get(), cover.get(), RGN_DIFF) == NULLREGION;
    }
    return covered;
}

void WindowVisibility::watch(HWND window, std::function<void()> seenAgain) {
    unwatch();
    window_ = window;
    seenAgain_ = std::move(seenAgain);
    if (watchers.empty()) {
        // Windows coming, going, moved by the user, minimised or restored, brought to the front,
        // cloaked. (Not every move: the cursor's and the caret's would wake the clock all the
        // time; the owners' looks now and then find the rest.)
        const DWORD flags = WINEVENT_OUTOFCONTEXT;
        hooks[0] = SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_MINIMIZEEND, nullptr, onWinEvent, 0, 0, flags);
        hooks[1] = SetWinEventHook(EVENT_OBJECT_DESTROY, EVENT_OBJECT_REORDER, nullptr, onWinEvent, 0, 0, flags);
        hooks[2] = SetWinEventHook(kEventObjectCloaked, kEventObjectUncloaked, nullptr, onWinEvent, 0, 0, flags);
    }
    watchers.push_back(this);
    recheck();
}

void WindowVisibility::unwatch() {
    const auto at = std::find(watchers.begin(), watchers.end(), this);
    if (at == watchers.end()) return;
    watchers.erase(at);
    if (watchers.empty()) {
        for (HWINEVENTHOOK& hook : hooks) {
            if (hook != nullptr) UnhookWinEvent(hook);
            hook = nullptr;
        }
        if (recheckTimer != 0) KillTimer(nullptr, recheckTimer);
        recheckTimer = 0;
    }
    window_ = nullptr;
    covered_ = false;
}

void WindowVisibility::changeForAll(const std::function<void()>& change) {
    std::vector<std::pair<WindowVisibility*, bool>> before;
    for (WindowVisibility* w : watchers) before.emplace_back(w, w->seen());
    change();
    for (const auto& [w, wasSeen] : before) {
        // (A window whose seen-again call ended another's following is left alone.)
        if (std::find(watchers.begin(), watchers.end(), w) != watchers.end()) w->recheck(wasSeen);
    }
}

void WindowVisibility::setSessionShown(bool shown) {
    changeForAll([shown] { sessionShown_ = shown; });
}

void WindowVisibility::setDisplayOn(bool on) {
    changeForAll([on] { displayOn_ = on; });
}

void WindowVisibility::recheck() { recheck(seen()); }

void WindowVisibility::recheck(bool wasSeen) {
    if (window_ == nullptr) return;
    covered_ = FullyCovered(window_);
    if (seen() && !wasSeen && seenAgain_) seenAgain_();
}

bool WindowVisibility::lookAgain(HWND window) {
    if (!sessionShown_ || !displayOn_) return false;  // nothing to look at meanwhile
    covered_ = FullyCovered(window);
    return seen();
}

void CALLBACK WindowVisibility::onWinEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD,
                                           DWORD) {
    // Windows only (not carets or the cursor); of those that still exist, top-level ones.
    if (watchers.empty() || object != OBJID_WINDOW || child != CHILDID_SELF || window == nullptr) return;
    if (event != EVENT_OBJECT_DESTROY && GetAncestor(window, GA_ROOT) != window) return;
    if (recheckTimer == 0) recheckTimer = SetTimer(nullptr, 0, kRecheckDelayMs, onRecheckTimer);
}

void CALLBACK WindowVisibility::onRecheckTimer(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    recheckTimer = 0;
    changeForAll([] {});
}
