// Whether anyone can see a window of the program. It cannot while it is hidden or minimised, on
// another virtual desktop, fully covered by other windows, while the session is locked or away,
// or while the display is off; the window then draws no frames, and draws at once when it can
// be seen again. Windows tells of changes to the other windows by WinEvents (the window's owner
// looks now and then as well, for what it does not tell), and of the session and the display,
// which hold for every window of the program, by the hidden main window's notifications.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>

class WindowVisibility {
public:
    WindowVisibility() = default;
    ~WindowVisibility() { unwatch(); }
    WindowVisibility(const WindowVisibility&) = delete;
    WindowVisibility& operator=(const WindowVisibility&) = delete;

    // Follows top-level `window` (one for each object, any number of objects); `seenAgain` runs
    // on this thread when it can be seen again.
    void watch(HWND window, std::function<void()> seenAgain);
    void unwatch();

    // Something about the window changed (shown, hidden, minimised, restored): look again.
    void recheck();
    // The owner's own look now and then (where the system tells of no other window's changes):
    // whether `window` can be seen. It may overwrite a look `recheck` has just made with one a
    // moment older; an unseen window is looked at again within a second.
    bool lookAgain(HWND window);

    // Read on other threads too.
    bool seen() const { return sessionShown_ && displayOn_ && !covered_; }

    // For every window of the program: the session locked or away (false) and back (true); the
    // display off and on.
    static void setSessionShown(bool shown);
    static void setDisplayOn(bool on);

private:
    static void CALLBACK onWinEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD);
    static void CALLBACK onRecheckTimer(HWND, UINT, UINT_PTR, DWORD);
    // Each watched window looked at again after `change` to what holds for all of them.
    static void changeForAll(const std::function<void()>& change);
    void recheck(bool wasSeen);

    HWND window_ = nullptr;
    std::function<void()> seenAgain_;
    std::atomic<bool> covered_{false};
    static inline std::atomic<bool> sessionShown_{true}, displayOn_{true};
};

// Whether no pixel of top-level `window` is on a screen uncovered by the visible windows above
// it (a minimised, hidden or cloaked window counts as covered).
bool FullyCovered(HWND window);
