#include "desktop/TrayFrame.h"

#include "app/ClockApp.h"
#include "app/OptionsStore.h"
#include "app/SplashWindow.h"
#include "app/ZoneRulesReading.h"
#include "desktop/ClockTimer.h"
#include "almanac/EclipsesDialog.h"
#include "almanac/LunarPhasesWindow.h"
#include "desktop/EarthFrame.h"
#include "desktop/EarthFrameRules.h"
#include "desktop/HomeSolarEclipse.h"
#include "desktop/WorldClockWindow.h"
#include "app/ClockState.h"
#include "app/Formatting.h"
#include "location/WorldPlaceMarks.h"
#include "location/HomeLocationDialog.h"
#include "platform/FailureTrace.h"
#include "platform/RecursiveLock.h"
#include "platform/Resources.h"
#include "platform/WindowVisibility.h"
#include "res/resource.h"
#include "settings/ClockSettingsDialog.h"
#include "settings/GeneralSettingsDialog.h"
#include "timesync/SetClockDialog.h"
#include "ui/AboutWindow.h"
#include "ui/HelpPage.h"
#include "ui/SkinBrushes.h"

#include <algorithm>
#include <mutex>

#include <shellapi.h>
#include <versionhelpers.h>
#include <wtsapi32.h>

namespace {
const char kClassName[] = "SolvaneTrayFrame";
const char kManualPage[] = "\\help\\solvane.htm";
const char kSuggestionPage[] = "\\help\\Suggestion.htm";
const char kHomePage[] = "https://www.kelbrook.example/solvane/";
constexpr UINT_PTR kRestartRetryTimer = 1;  // a restart of the earth clock window held back
constexpr UINT kRestartRetryMs = 250;
// A display change, a wake-up or an unlock renews the wallpaper this long after the first of
// them: the messages of one change (each monitor, the work area) make one renewal.
constexpr UINT_PTR kWallpaperRenewalTimer = 2;
constexpr UINT kWallpaperRenewalDelayMs = 2000;
// Lock and unlock notices asked for again while the system refuses them.
constexpr UINT_PTR kSessionNoticeTimer = 3;
// The world settings are written this long after they last changed, wherever the change was
// made (many changes in a row, such as a place moved down the list step by step, make one
// write). A window's timer: modal loops (menus, dialogs, a window dragged) still run it.
constexpr UINT_PTR kWorldSaveTimer = 4;
constexpr UINT kWorldSaveDelayMs = 1000;
constexpr UINT kSessionNoticeRetryMs = 2000;
// The tray icon's tip looks for a solar eclipse at home this often.
constexpr UINT_PTR kTrayTipTimer = 5;
constexpr UINT kTrayTipMs = 20 * 1000;
}

TrayFrame::TrayFrame(ClockApp& app) : app_(app) {}

TrayFrame::~TrayFrame() = default;

std::unique_ptr<Window> TrayFrame::make(ClockApp& app) {
    auto frame = std::make_unique<TrayFrame>(app);
    if (!frame->create()) return nullptr;
    return frame;
}

bool TrayFrame::create() {
    if (!registerClass(kClassName)) return false;
    const std::string title = LoadResourceString(IDS_HIDDEN_WINDOW_TITLE);
    return Window::create(0, kClassName, title.c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                          CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT);
}

bool TrayFrame::onCreate() {
    SplashWindow::show(hwnd());
    addTrayIcon();
    app_.settings().advanceClock(true);
    earthFrame_ = std::make_unique<EarthFrame>(app_, hwnd());
    earthFrame_->open(false);
    if (app_.settings().snapshot().startInTrayOnly == 0) earthFrame_->open(true);
    clockTimer_ = std::make_unique<ClockTimer>(app_.settings());
    clockTimer_->start(*earthFrame_);
    earthFrame_->clockMayResume = [this] {
        if (clockTimer_) clockTimer_->wake();
    };
    addCommands();
    earthFrame_->commands = &commands_;
    settingsListener_ = app_.settings().listen([this](const Settings& before, const Settings& after) {
        if (clockTimer_ && EffectsOfChange(before.options, after.options).tickWoken) clockTimer_->wake();
        earthFrame_->followSettings(before.options, after.options);
        if (before.world != after.world) SetTimer(hwnd(), kWorldSaveTimer, kWorldSaveDelayMs, nullptr);
        if (before.world != after.world) {
            earthFrame_->redrawGlobe();
            renewWallpaperSoon();
        }
    });
    renewWallpaper();  // a first wallpaper at once (with the generator off: the placement checked)
    refreshTrayTip();
    // Locks, unlocks and reconnections: the clock stops drawing while locked away, and the
    // wallpaper is renewed on return (the displays may have changed meanwhile). The display's
    // going off stops the drawing as well.
    registerSessionNotices();
    // (This session's display where Windows tells it, from Windows 8 on: not the console's when
    // the user is away at a remote desktop. Windows 7 tells only of the monitor's power.)
    if (IsWindows8OrGreater()) {
        displayNotice_ = RegisterPowerSettingNotification(hwnd(), &GUID_SESSION_DISPLAY_STATUS, DEVICE_NOTIFY_WINDOW_HANDLE);
        if (displayNotice_ == nullptr) {
            displayNotice_ = RegisterPowerSettingNotification(hwnd(), &GUID_CONSOLE_DISPLAY_STATE, DEVICE_NOTIFY_WINDOW_HANDLE);
        }
    } else {
        displayNotice_ = RegisterPowerSettingNotification(hwnd(), &GUID_MONITOR_POWER_ON, DEVICE_NOTIFY_WINDOW_HANDLE);
    }
    return true;
}

// At sign-in the clock may start before the session's services, and is refused until they are
// up (RPC_S_INVALID_BINDING): it asks again until it is heard.
void TrayFrame::registerSessionNotices() {
    sessionNotices_ = WTSRegisterSessionNotification(hwnd(), NOTIFY_FOR_THIS_SESSION) != FALSE;
    if (!sessionNotices_) {
        TraceFailure("WTSRegisterSessionNotification");
        SetTimer(hwnd(), kSessionNoticeTimer, kSessionNoticeRetryMs, nullptr);
    }
}

void TrayFrame::renewWallpaper() { app_.settings().renewWallpaper(true); }

void TrayFrame::renewWallpaperSoon() {
    if (wallpaperRenewalPending_ || app_.settings().snapshot().wallpaperEnabled != 1) return;
    wallpaperRenewalPending_ = SetTimer(hwnd(), kWallpaperRenewalTimer, kWallpaperRenewalDelayMs, nullptr) != 0;
}

// The earth clock object outlives its window: a notice or menu of it may still be on the
// stack below this exit, and returns into it.
void TrayFrame::onDestroy() {
    app_.settings().forget(settingsListener_);
    if (sessionNotices_) WTSUnRegisterSessionNotification(hwnd());
    sessionNotices_ = false;
    if (displayNotice_ != nullptr) UnregisterPowerSettingNotification(displayNotice_);
    displayNotice_ = nullptr;
    clockTimer_.reset();
    removeTrayIcon();
    earthFrame_->destroy();
    if (about_) about_->destroy();
    if (lunarPhases_) lunarPhases_->destroy();
    if (worldClock_) worldClock_->destroy();
    if (eclipses_) eclipses_->destroy();
    app_.endMessageLoop();
}

void TrayFrame::addTrayIcon() {
    NOTIFYICONDATAA icon = {NOTIFYICONDATAA_V1_SIZE};
    icon.hWnd = hwnd();
    icon.uID = app_.trayMessage();
    icon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    icon.uCallbackMessage = app_.trayMessage();
    // At the small-icon size the shell shows, from the icon's images (no scaling of a 32-pixel one).
    if (!trayIcon_) {
        const int size = GetSystemMetrics(SM_CXSMICON);
        trayIcon_.reset(static_cast<HICON>(
            LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_SOLVANE), IMAGE_ICON, size, size, 0)));
    }
    icon.hIcon = trayIcon_.get();
    trayTip_ = trayTip();
    lstrcpynA(icon.szTip, trayTip_.c_str(), 64);
    if (!Shell_NotifyIconA(NIM_ADD, &icon)) TraceFailure("Shell_NotifyIcon add");
}

std::string TrayFrame::trayTip() {
    // Now, not the clock state's instant: that stands still while the earth clock is not seen.
    ClockSettings::Shared shared = app_.settings().shared();
    const double julianDate = JulianDateNow(shared.clock);
    std::string note;
    {
        std::lock_guard<RecursiveLock> hold(shared.lock);
        note = HomeSolarEclipseNote(LoadResourceString(IDS_SOLAR_ECLIPSE_AT_HOME), julianDate,
                                    shared.options.homeLatitude, shared.options.homeLongitude);
    }
    const std::string name = LoadResourceString(IDS_APP_NAME);
    if (note.empty()) return name;
    return Printf(LoadResourceString(IDS_TRAY_TIP_WITH_NOTE).c_str(), name.c_str(), note.c_str());
}

void TrayFrame::refreshTrayTip() {
    SetTimer(hwnd(), kTrayTipTimer, kTrayTipMs, nullptr);
    const std::string tip = trayTip();
    if (tip == trayTip_) return;
    NOTIFYICONDATAA icon = {NOTIFYICONDATAA_V1_SIZE};
    icon.hWnd = hwnd();
    icon.uID = app_.trayMessage();
    icon.uFlags = NIF_TIP;
    lstrcpynA(icon.szTip, tip.c_str(), 64);
    if (Shell_NotifyIconA(NIM_MODIFY, &icon)) trayTip_ = tip;
}

void TrayFrame::removeTrayIcon() {
    NOTIFYICONDATAA icon = {NOTIFYICONDATAA_V1_SIZE};
    icon.hWnd = hwnd();
    icon.uID = app_.trayMessage();
    Shell_NotifyIconA(NIM_DELETE, &icon);
    trayIcon_.reset();
}

void TrayFrame::openEarthWindow() {
    HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    earthFrame_->open(true);
    SetCursor(previous);
}

// A new window picks up a changed choice of hardware rendering: an existing OpenGL context
// cannot change its pixel format.
void TrayFrame::openLunarPhases() {
    HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    if (!lunarPhases_) {
        const ClockSettings::Shared shared = app_.settings().shared();
        lunarPhases_ = std::make_unique<LunarPhasesWindow>(PhaseInputs{shared.astro, shared.options, shared.clock, shared.lock});
    }
    lunarPhases_->open();
    SetCursor(previous);
}

void TrayFrame::openWorldClock() {
    if (!worldClock_) {
        worldClock_ = std::make_unique<WorldClockWindow>(WorldClockInputs{
            app_.settings(), [this](double latitude, double longitude) { turnGlobeOver(latitude, longitude); },
            [this] { app_.followSettingsFile(); }});
    }
    worldClock_->open();
}

// The over-this-place view lasts for the run: the options record keeps the viewpoint, and no
// orientation of the mouse-drag viewpoint, so a restart shows that viewpoint's first view.
void TrayFrame::turnGlobeOver(double latitude, double longitude) {
    ClockSettings& settings = app_.settings();
    {
        std::lock_guard<RecursiveLock> hold(settings.shared().lock);
        SharedDragOrientation().lookOver(float(latitude), float(longitude));
    }
    settings.update([](UserOptions& o) { o.viewpoint = kViewMouseDrag; });
    app_.saveOptions();
    earthFrame_->open(true);
    InvalidateRect(earthFrame_->view(), nullptr, FALSE);
}

void TrayFrame::restartEarthWindow(UINT reasonId) {
    restartReason_ = reasonId;
    // A dialog the earth clock window owns (it is disabled meanwhile) would go with it, and
    // what was typed there with it: the restart waits until that dialog has closed.
    if (earthFrame_->hwnd() != nullptr && !IsWindowEnabled(earthFrame_->hwnd())) {
        SetTimer(hwnd(), kRestartRetryTimer, kRestartRetryMs, nullptr);
        return;
    }
    earthFrame_->destroy();
    MessageBoxA(hwnd(), LoadResourceString(reasonId).c_str(), LoadResourceString(IDS_RESTART_CAPTION).c_str(),
                MB_OK | MB_ICONINFORMATION);
    earthFrame_->open(true);
}

void TrayFrame::onTimer(UINT_PTR id) {
    KillTimer(hwnd(), id);
    if (id == kRestartRetryTimer) restartEarthWindow(restartReason_);
    if (id == kSessionNoticeTimer) registerSessionNotices();
    if (id == kWorldSaveTimer) app_.saveWorldSettings();
    if (id == kTrayTipTimer) refreshTrayTip();
    if (id == kWallpaperRenewalTimer) {
        wallpaperRenewalPending_ = false;
        if (app_.settings().snapshot().wallpaperEnabled == 1) renewWallpaper();  // still on
    }
}

void TrayFrame::onTrayIcon(UINT mouseMessage) {
    switch (mouseMessage) {
    case WM_RBUTTONDOWN:
        showTrayMenu();
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        openEarthWindow();
        break;
    }
}

void TrayFrame::showTrayMenu() {
    const MenuHandle menu(LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_TRAY_MENU)));
    if (!menu) return;
    HMENU popup = GetSubMenu(menu.get(), 0);
    commands_.prepare(popup);
    POINT at;
    GetCursorPos(&at);
    SetForegroundWindow(hwnd());
    const UINT command = TrackPopupMenu(popup, TPM_RETURNCMD | TPM_NONOTIFY, at.x, at.y, 0, hwnd(), nullptr);
    if (command != 0) commands_.run(command, nullptr);
}

bool TrayFrame::onCommand(UINT id) { return commands_.run(id, nullptr); }

void TrayFrame::addCommands() {
    const auto earthWindowShown = [this] { return earthFrame_->hwnd() != nullptr; };
    // Exit closes this window, which closes the earth clock window: after the message that
    // asked for it, which may be one of that window's.
    commands_.add({ID_APP_EXIT, [this](HWND) { PostMessageA(hwnd(), WM_CLOSE, 0, 0); }});
    commands_.add({ID_EARTH_CLOCK, [this](HWND) { openEarthWindow(); }});
    commands_.add({ID_MOON_PHASES, [this](HWND) { openLunarPhases(); }});
    commands_.add({ID_WORLD_CLOCK, [this](HWND) { openWorldClock(); }});
    commands_.add({ID_ECLIPSES, [this](HWND) {
                       if (!eclipses_) eclipses_ = std::make_unique<EclipsesDialog>(app_.eclipses(), app_.settings());
                       eclipses_->open();
                   }});
    commands_.add({ID_HELP_PAGES, [](HWND) { OpenHelpPage(kManualPage, SW_SHOWMAXIMIZED); }});
    commands_.add({ID_EMAIL_SUGGESTION, [](HWND) { OpenHelpPage(kSuggestionPage, SW_SHOWNORMAL); }});
    commands_.add({ID_VISIT_HOME_PAGE, [](HWND) { OpenPage(kHomePage, SW_SHOWNORMAL); }});
    commands_.add({ID_FULL_SCREEN, [this](HWND) { earthFrame_->enterFullScreen(); },
                   [this, earthWindowShown] { return earthWindowShown() && !earthFrame_->isFullScreen(); }});
    commands_.add({ID_CLOSE_MAIN_WINDOW, [this](HWND) { earthFrame_->closeToTray(); }, earthWindowShown});
    commands_.add({ID_GENERAL_SETTINGS, [this](HWND owner) { runGeneralSettings(owner); }});
    commands_.add({ID_CLOCK_SETTINGS, [this](HWND owner) { runClockSettings(owner); }});
    commands_.add({ID_HOME_LOCATION, [this](HWND owner) { runHomeLocation(owner); }});
    commands_.add({ID_SET_CLOCK, [this](HWND owner) { runSetClock(owner); }});
    // The About window has no owner: it stays open beside the others.
    commands_.add({ID_APP_ABOUT, [this](HWND) {
                       if (!about_) about_ = std::make_unique<AboutWindow>(SharedSkinBrushes());
                       about_->open();
                   }});
    commands_.add({ID_SHOW_WORLD_PLACES,
                   [this](HWND) {
                       app_.settings().update([](WorldSettings& world) { world.showPlaces = !world.showPlaces; });
                       app_.saveOptions();
                   },
                   nullptr, [this] { return app_.settings().world().showPlaces; }});
    commands_.add({ID_TWILIGHT_BANDS,
                   [this](HWND) {
                       app_.settings().update([](WorldSettings& world) { world.twilightBands = !world.twilightBands; });
                       app_.saveOptions();
                   },
                   nullptr, [this] { return app_.settings().world().twilightBands; }});
    for (UINT id : ContextCommands()) {
        commands_.add({id, [this, id](HWND) { applyDisplayCommand(id); }, nullptr, [this, id] {
                           const std::vector<unsigned> checked = CheckedContextCommands(app_.settings().snapshot());
                           return std::find(checked.begin(), checked.end(), id) != checked.end();
                       }});
    }
}

void TrayFrame::applyDisplayCommand(UINT id) {
    app_.settings().update([id](UserOptions& o) { ApplyContextCommand(o, id); });
    app_.saveOptions();
}

// Each dialog's Save applies its choices and stores them before the dialog closes.
void TrayFrame::runGeneralSettings(HWND owner) {
    ClockSettings& settings = app_.settings();
    bool restart = false;
    GeneralSettingsRun run;
    run.current = settings.snapshot();
    run.changeHome = [this, &settings](HWND dialog) {
        commands_.run(ID_HOME_LOCATION, dialog);
        return settings.snapshot();
    };
    run.save = [this, &settings, &restart](const GeneralChoices& chosen) {
        settings.update([&](UserOptions& o) { restart = ApplyGeneralChoices(chosen, o); });
        if (chosen.startWithWindows) {
            WriteAutostartValue(app_.optionsServices());
        } else {
            DeleteAutostartValue(app_.optionsServices());
        }
        app_.saveOptions();
    };
    // The new wallpaper settings show at once, or, switched off, the user's placement is back.
    if (RunGeneralSettingsDialog(owner, run) == IDOK) renewWallpaper();
    // Only now: the earth clock window, which may own the dialog, is destroyed and made anew.
    if (restart) PostMessageA(hwnd(), WM_RESTART_EARTH_WINDOW, RESTART_EARTH_WINDOW_KEY, RESTART_EARTH_WINDOW_KEY);
}

void TrayFrame::runClockSettings(HWND owner) {
    ClockSettings& settings = app_.settings();
    ClockSettingsRun run;
    run.current = settings.snapshot();
    run.nightShadowNow = [&settings](bool on) {
        settings.update([on](UserOptions& o) {
            o.displayFlags = on ? o.displayFlags | kShowNightShadow : o.displayFlags & ~kShowNightShadow;
        });
    };
    run.save = [this, &settings](const ClockChoices& chosen) {
        settings.update([&chosen](UserOptions& o) { ApplyClockChoices(chosen, o); });
        app_.saveOptions();
    };
    RunClockSettingsDialog(owner, run);
}

// The clock state follows the new home at once.
void TrayFrame::runHomeLocation(HWND owner) {
    ClockSettings& settings = app_.settings();
    HomeLocationRun run;
    run.current = settings.snapshot();
    run.timeZone = settings.world().homeTimeZone;
    run.save = [this, &settings](const HomePlace& place) {
        settings.update(WorldChange([&place](WorldSettings& w) { w.homeTimeZone = place.timeZone; }));
        settings.update([&place](UserOptions& o) { ApplyHomePlace(place, o); }, true);
        app_.saveOptions();
    };
    RunHomeLocationDialog(owner, run);
}

void TrayFrame::runSetClock(HWND owner) {
    ClockSettings& settings = app_.settings();
    SetClockRun run;
    run.typedServer = FieldText(settings.snapshot().customTimeServer);
    run.keep = [&settings](const std::string& server) {
        settings.update([&server](UserOptions& o) { SetFieldText(o.customTimeServer, server); });
    };
    RunSetClockDialog(owner, run);
}

// The display's power and the sleep's end: what is seen, and the wallpaper anew.
void TrayFrame::onPowerNotice(WPARAM wParam, LPARAM lParam) {
    if (wParam == PBT_APMRESUMEAUTOMATIC || wParam == PBT_APMRESUMESUSPEND) renewWallpaperSoon();
    if (wParam == PBT_POWERSETTINGCHANGE) {
        const auto* setting = reinterpret_cast<const POWERBROADCAST_SETTING*>(lParam);
        if (setting != nullptr && setting->DataLength >= sizeof(DWORD) &&
            (setting->PowerSetting == GUID_SESSION_DISPLAY_STATUS ||
             setting->PowerSetting == GUID_CONSOLE_DISPLAY_STATE || setting->PowerSetting == GUID_MONITOR_POWER_ON)) {
            DWORD state;  // 0 off, 1 on, 2 dimmed (still seen); the monitor's power: 0 off, 1 on
            memcpy(&state, setting->Data, sizeof state);
            WindowVisibility::setDisplayOn(state != 0);
        }
    }
}

// The session locked, unlocked, connected or disconnected.
void TrayFrame::onSessionChange(WPARAM wParam) {
    if (wParam == WTS_SESSION_UNLOCK || wParam == WTS_CONSOLE_CONNECT || wParam == WTS_REMOTE_CONNECT) {
        WindowVisibility::setSessionShown(true);
        renewWallpaperSoon();
    }
    if (wParam == WTS_SESSION_LOCK || wParam == WTS_CONSOLE_DISCONNECT || wParam == WTS_REMOTE_DISCONNECT) {
        WindowVisibility::setSessionShown(false);
    }
}

void TrayFrame::onRestartRequest(WPARAM wParam, LPARAM lParam) {
    // The reason told is a new OpenGL choice, or accelerated drawing that never showed.
    if (wParam == RESTART_EARTH_WINDOW_KEY) {
        restartEarthWindow(lParam == IDS_HARDWARE_FALLBACK ? IDS_HARDWARE_FALLBACK : IDS_RESTART_EARTH_WINDOW);
    }
}

// The messages registered by name: the taskbar made anew, and the tray icon's.
bool TrayFrame::onRegisteredMessage(UINT message, LPARAM lParam) {
    // Explorer restarted (after a crash, or a change of the display's scale): the icon anew, at
    // the small-icon size of now.
    static const UINT taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    if (message == taskbarCreated && taskbarCreated != 0) {
        removeTrayIcon();
        addTrayIcon();
        return true;
    }
    if (message == app_.trayMessage() && app_.trayMessage() != 0) {
        onTrayIcon(UINT(lParam));
        return true;
    }
    return false;
}

LRESULT TrayFrame::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (onRegisteredMessage(message, lParam)) return 0;
    switch (message) {
    case WM_RESTART_EARTH_WINDOW:
        onRestartRequest(wParam, lParam);
        return 0;
    case WM_ECLIPSES_CHANGED:
        if (eclipses_ && eclipses_->hwnd() != nullptr) SendMessageA(eclipses_->hwnd(), WM_ECLIPSES_CHANGED, 0, 0);
        return 0;
    case WM_TIMECHANGE:
        app_.settings().update([this](UserOptions& o) { RefreshTimeZone(o, app_.optionsServices()); });
        // Every zone is read again (its rules may have changed with the time), and the details
        // pane works its day out anew.
        ProgramZones().forget();
        if (earthFrame_) SendMessageA(earthFrame_->pane(), WM_TIMECHANGE, 0, 0);
        // Eclipses found for a clock set back (or far on) would be the wrong ones.
        app_.searchEclipsesAgain();
        return 0;
    // The wallpaper follows the displays: their number, sizes and places, the taskbar, and
    // whatever changed while the PC slept or the session was locked or away.
    case WM_DISPLAYCHANGE:
        renewWallpaperSoon();
        return 0;
    case WM_SETTINGCHANGE:
        if (wParam == SPI_SETWORKAREA) renewWallpaperSoon();
        break;
    case WM_POWERBROADCAST:
        onPowerNotice(wParam, lParam);
        return TRUE;
    case WM_WTSSESSION_CHANGE:
        onSessionChange(wParam);
        return 0;
    case WM_ENDSESSION:
        // The process may be ended as soon as this returns: close the windows (as a shutdown
        // does), run the exit steps now and end here, so that no message still queued runs
        // with what the exit released (the ephemeris file above all).
        if (wParam) app_.endSession();
        return 0;
    }
    return Window::handleMessage(message, wParam, lParam);
}
