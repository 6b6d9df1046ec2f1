// The earth clock window: the live globe, the details pane under it, a menu bar and a context
// menu with every display option; full screen by double click; closing it only hides it.
#pragma once

#include "desktop/DataPane.h"
#include "desktop/EarthFrameRules.h"
#include "platform/Window.h"
#include "platform/WindowVisibility.h"
#include "render/EarthView.h"

#include <atomic>
#include <cstdint>
#include <functional>

class ClockApp;
class CommandTable;
struct UserOptions;

class EarthFrame : public Window {
public:
    EarthFrame(ClockApp& app, HWND trayFrame);

    // Shows the window and brings it to the front, creating it (hidden) first when needed.
    void open(bool show);
    void enterFullScreen();
    void leaveFullScreen();
    void setDetailsPane(bool show);
    void closeToTray();
    // Shows what a change of the options changed: the details pane, the globe.
    void followSettings(const UserOptions& before, const UserOptions& after);
    // Draws the globe again (what it marks has changed).
    void redrawGlobe();

    HWND view() const { return view_.hwnd(); }
    HWND pane() const { return pane_.hwnd(); }
    bool isFullScreen() const { return fullScreen_ != 0; }

    // The windows the clock tick redraws, handed over under the options lock: set once the
    // window and its children exist, cleared before they go (a restart makes new ones). All
    // null while there is no window.
    struct TickWindows {
        HWND frame = nullptr, view = nullptr, pane = nullptr;
    };
    TickWindows tickWindows;  // under the settings' lock
    // Read by the clock tick on its own thread.
    std::atomic<bool> menuOpen{false};
    WindowVisibility visibility;
    // Called when the window can go on with the clock at once: a menu closed, a dialog ended.
    std::function<void()> clockMayResume;
    // The commands of the menu bar and the context menu; dialogs they open are owned by this
    // window.
    CommandTable* commands = nullptr;

protected:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool onCreate() override;
    void onDestroy() override;
    bool onCommand(UINT id) override;
    bool onEraseBackground(HDC) override;
    SIZE minimumTrackSize(UINT dpi) const override;
    RECT placeForDpi(const RECT& suggested) const override;
    void onSize(int width, int height, UINT kind) override;
    void onMove() override;
    bool onContextMenu(POINT at) override;
    void onPlacementChanged() override;

private:
    bool createWindow();
    void layout(int width, int height);
    void storeRect();
    // The smallest window at `dpi` for the details pane shown or hidden.
    Extent minimumSize(UINT dpi) const;
    // `r` with at least the smallest size (at the DPI there), moved onto the work area of its
    // nearest monitor.
    Box placeOnWorkArea(const RECT& r) const;
    // Moves the window to the stored rectangle, or as near to it as the nearest monitor's work
    // area allows, leaving the stored rectangle as it is.
    void placeAtStoredRect(UINT flags);
    void showContextMenu(int x, int y);

    ClockApp& app_;
    EarthView view_;
    DataPane pane_;
    uint8_t fullScreen_ = 0;
    bool placing_ = false;  // moves and sizes made by placeAtStoredRect are not stored
    Box shown_ = {};        // the last normal rectangle: stored, or placed instead of the stored one
};
