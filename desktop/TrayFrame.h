// The hidden main window. It is never shown: a second instance finds the program by its title,
// and closing it ends the program.
#pragma once

#include "desktop/Commands.h"
#include "platform/HandleOwners.h"
#include "platform/Window.h"

#include <memory>
#include <string>

class AboutWindow;
class EclipsesDialog;
class LunarPhasesWindow;
class WorldClockWindow;
class ClockApp;
class ClockTimer;
class EarthFrame;

class TrayFrame : public Window {
public:
    explicit TrayFrame(ClockApp& app);
    ~TrayFrame() override;
    bool create();
    // The hidden main window of `app`, created; null when it could not be made.
    static std::unique_ptr<Window> make(ClockApp& app);

protected:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool onCreate() override;
    void onDestroy() override;
    bool onCommand(UINT id) override;
    void onTimer(UINT_PTR id) override;

private:
    void addTrayIcon();
    // The tip names the program, and a solar eclipse while home sees one; looked at now and then.
    void refreshTrayTip();
    std::string trayTip();
    void removeTrayIcon();
    bool onRegisteredMessage(UINT message, LPARAM lParam);
    void onTrayIcon(UINT mouseMessage);
    void onRestartRequest(WPARAM wParam, LPARAM lParam);
    void onPowerNotice(WPARAM wParam, LPARAM lParam);
    void onSessionChange(WPARAM wParam);
    void showTrayMenu();
    void openEarthWindow();
    void openLunarPhases();
    void openWorldClock();
    // Turns the earth clock's globe over a place: the mouse-drag viewpoint, starting from the
    // view over that place (kept until another viewpoint is chosen).
    void turnGlobeOver(double latitude, double longitude);
    // Asks for the session's lock and unlock notices, and again later while they are refused.
    void registerSessionNotices();
    // Wakes the wallpaper thread for pictures of this instant (the clock state brought up to
    // it first: the tick does so only while the earth clock window is seen); with the generator
    // off, to give the user's wallpaper placement back.
    void renewWallpaper();
    // The same a little later, once for all the messages of one change of the displays.
    void renewWallpaperSoon();
    // Makes the earth clock window anew, telling the user why (a string resource).
    void restartEarthWindow(UINT reasonId);
    // Fills the command table that the tray menu and the earth clock window share.
    void addCommands();
    // The dialogs of the settings, home location and Set Clock commands, each run modally over
    // `owner` (the earth clock window for the four of its menu bar, else none).
    void runGeneralSettings(HWND owner);
    void runClockSettings(HWND owner);
    void runHomeLocation(HWND owner);
    void runSetClock(HWND owner);
    // Applies a context-menu command to the options, and stores them.
    void applyDisplayCommand(UINT id);

    ClockApp& app_;
    CommandTable commands_;
    int settingsListener_ = 0;  // the earth clock window and the tick follow the options
    std::unique_ptr<EarthFrame> earthFrame_;
    std::unique_ptr<ClockTimer> clockTimer_;
    std::unique_ptr<AboutWindow> about_;
    UINT restartReason_ = 0;  // the reason of a restart held back until a dialog closes
    bool wallpaperRenewalPending_ = false;
    HPOWERNOTIFY displayNotice_ = nullptr;  // the display's going off and on
    bool sessionNotices_ = false;           // the session's lock and unlock are told
    std::unique_ptr<LunarPhasesWindow> lunarPhases_;
    std::unique_ptr<WorldClockWindow> worldClock_;
    IconHandle trayIcon_;  // the tray's image of the program's icon
    std::string trayTip_;  // the tip the icon has
    std::unique_ptr<EclipsesDialog> eclipses_;
};
