// Whether anyone can see the earth clock window. It cannot while it is hidden or minimised, on
// another virtual desktop, fully covered by other windows, while the session is locked or
// away, or while the display is off; the clock then draws no frames, and draws at once when
// the window can be seen again. Windows tells of changes to the other windows by WinEvents
// (and the clock tick looks now and then as well), of the session and the display by the
// hidden window's notifications.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>

class FrameVisibility {
public:
    FrameVisibility() = default;
    ~FrameVisibility() { unwatch(); }
    FrameVisibility(const FrameVisibility&) = delete;
    FrameVisibility& operator=(const FrameVisibility&) = delete;

    // Follows `frame` (one at a time); `seenAgain` runs on this thread when it can be seen again.
    void watch(HWND frame, std::function<void()> seenAgain);
    void unwatch();

    // The session locked or away (false) and back (true); the display off and on.
    void setSessionShown(bool shown);
    void setDisplayOn(bool on);
    // Something about the frame changed (shown, hidden, minimised, restored): look again.
    void recheck();
    // The clock tick's own look, every few seconds (where the system tells of no other
    // window's changes): whether `frame` can be seen. It may overwrite a look `recheck` has
    // just made with one a moment older; an unseen window is looked at again within a second.
    bool lookAgain(HWND frame);

    // Read by the clock tick on its own thread.
    bool seen() const { return sessionShown_ && displayOn_ && !covered_; }

private:
    static void CALLBACK onWinEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD);
    static void CALLBACK onRecheckTimer(HWND, UINT, UINT_PTR, DWORD);

    HWND frame_ = nullptr;
    std::function<void()> seenAgain_;
    HWINEVENTHOOK hooks_[3] = {};
    UINT_PTR recheckTimer_ = 0;
    std::atomic<bool> sessionShown_{true}, displayOn_{true}, covered_{false};
};

// Whether no pixel of `frame` is on a screen uncovered by the visible windows above it (a
// minimised, hidden or cloaked frame counts as covered).
bool FullyCovered(HWND frame);
