#include <winsock2.h>

#include "app/ClockApp.h"

#include "app/EphemerisFile.h"
#include "app/IniFile.h"
#include "app/ProgramFiles.h"
#include "astro/Ephemeris.h"
#include "app/ClockState.h"
#include "app/SplashWindow.h"
#include "platform/CommandLine.h"
#include "platform/FailureTrace.h"
#include "platform/FolderTrustReading.h"
#include "platform/ProgramPath.h"
#include "app/Formatting.h"
#include "platform/Resources.h"
#include "platform/WideText.h"
#include "res/resource.h"

#include <commctrl.h>
#include <process.h>

#include <algorithm>
#include <mutex>
#include <optional>

namespace {

const char kRegistryKeyName[] = "Kelbrook - Solvane";
const char kWallpaperEventName[] = "KbWallpaperFactory";
const char kTrayMessageName[] = "Kelbrook Solvane";
// The wallpaper thread abandons a write at once; a picture still being drawn is not waited
// for longer than this (the process ends with it, and its temporary file is left unfinished).
constexpr DWORD kWallpaperStopTimeoutMs = 500;
constexpr DWORD kSettleBeforeWindowsMs = 30;
const char kFailureLogName[] = "Solvane.log";

}  // namespace

ClockApp::ClockApp(const ClockAppParts& parts) : parts_(parts) {}

ClockApp::~ClockApp() = default;

OptionsServices ClockApp::optionsServices() {
    return OptionsServices{programPath_, OptionsFilePath(userFolders_),
                           EarlierOptionsFile(programPath_, userFolders_), registry_, prompt_, timeZone_,
                           settings_.shared().lock, programTrusted_};
}

bool ClockApp::saveOptions() {
    const bool saved = saver_.save(settings_.snapshot(), optionsServices(), sessionEnding_);
    return saveWorldSettings() && saved;
}

bool ClockApp::saveWorldSettings() {
    WorldSettings world = settings_.world();
    const WorldSettings before = world;
    const bool saved = settingsSaver_.saveFile(
        worldStore_.path(), [&](std::string* reason) { return worldStore_.save(world, reason); }, prompt_,
        sessionEnding_);
    // What the user changed in the file meanwhile now counts here too.
    if (world != before) settings_.update([&world](WorldSettings& w) { w = world; });
    return saved;
}

void ClockApp::followSettingsFile() {
    WorldSettings world = settings_.world();
    bool followed = false;
    settingsSaver_.saveFile(
        worldStore_.path(),
        [&](std::string*) {
            followed = worldStore_.followFile(world);
            return true;  // a file that cannot be read now is only left as it is
        },
        prompt_, sessionEnding_);
    if (followed) settings_.update([&world](WorldSettings& w) { w = world; });
}

// The per-user settings file beside the options record, read once: the world settings, and
// the log of failures ("[Diagnostics] Log=1", kept in the user's local folder). Lines it cannot
// read are reported together, once, and kept in the file.
void ClockApp::readSettingsFile() {
    worldStore_.setPath(userFolders_.settings + kSettingsFileName);
    IniFile file;
    std::vector<int> skipped;
    if (!worldStore_.load(file, skipped)) {
        prompt_.warnFormatted(IDS_SETTINGS_FILE_UNREADABLE, IDS_WARNING_CAPTION, {worldStore_.path()});
        settingsSaver_.leaveFileAlone();
        return;
    }
    settings_.update([this](WorldSettings& w) { w = worldStore_.stored(); });
    skipped.insert(skipped.end(), file.damagedLines().begin(), file.damagedLines().end());
    const std::optional<bool> log = IniSwitch(file, "Diagnostics", "Log");
    if (!log) skipped.push_back(file.find("Diagnostics", "Log")->line);
    if (log.value_or(false)) SetFailureLogFile(userFolders_.pictures + kFailureLogName);
    if (skipped.empty()) return;
    std::sort(skipped.begin(), skipped.end());
    skipped.erase(std::unique(skipped.begin(), skipped.end()), skipped.end());
    std::string lines;
    for (int line : skipped) lines += (lines.empty() ? "" : ", ") + std::to_string(line);
    prompt_.warnFormatted(IDS_SETTINGS_LINES_SKIPPED, IDS_WARNING_CAPTION, {worldStore_.path(), lines});
}

void ClockApp::endSession() {
    sessionEnding_ = true;
    if (HWND window = mainWindow()) DestroyWindow(window);
    ExitProcess(UINT(exitOnce()));
}

bool ClockApp::initInstance(const char* commandLine) {
    const bool showSplash = CommandLineShowsSplash(commandLine);
    programPath_ = ProgramPath();
    programTrusted_ = ProgramFileIsTrusted(programPath_);
    SetCurrentDirectoryW(WideFromUtf8(FileBesideProgram(programPath_, "")).c_str());
    if (!claimSingleInstance()) return false;

    setRegistryKey(kRegistryKeyName);
    userFolders_ = UserFileFoldersFor(programPath_);
    readSettingsFile();
    UserOptions loaded;
    if (!LoadOptions(loaded, optionsServices())) saver_.leaveFileAlone();
    settings_.update([&loaded](UserOptions& o) { o = loaded; });
    optionsLoaded_ = true;
    if (loaded.hideSplash == 0) SplashWindow::enable(showSplash);

    // The settings dialogs' spin buttons and trackbar.
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_UPDOWN_CLASS | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    wallpaperEvent_.reset(CreateEventA(nullptr, FALSE, FALSE, kWallpaperEventName));
    if (!wallpaperEvent_) TraceFailure("CreateEvent wallpaper");
    // Set, not pulsed: a wake while the thread is drawing is kept for when it waits again.
    settings_.setWallpaperWake([this] { SetEvent(wallpaperEvent_.get()); });
    trayMessage_ = RegisterWindowMessageA(kTrayMessageName);
    SetMonthNameSource(&monthNames_);
    // Without the ephemeris the first state computation below ends the program with the
    // engine's message, after the user has been told.
    OpenEphemeris(programPath_, prompt_);

    WSADATA sockets = {};
    if (WSAStartup(MAKEWORD(2, 2), &sockets) != 0) {
        MessageBoxA(nullptr, LoadResourceString(IDS_SOCKETS_FAILED).c_str(),
                    LoadResourceString(IDS_APP_NAME).c_str(), MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    socketsStarted_ = true;
    settings_.advanceClock(true);

    if (!startWallpaperThread()) return false;
    saver_.save(settings_.snapshot(), optionsServices(), true);
    Sleep(kSettleBeforeWindowsMs);

    mainWindow_ = parts_.makeMainWindow(*this);
    if (mainWindow_ == nullptr) return false;
    setMainWindow(mainWindow_->hwnd());
    startEclipseWatch();
    // A failed save is told over a running program, which a second start can find.
    saver_.reportFailure(prompt_);
    settingsSaver_.reportFailure(prompt_);
    return true;
}

// A second instance asks the running one to show its earth clock window and leaves without
// touching the options file or the registry.
bool ClockApp::claimSingleInstance() {
    const std::string title = LoadResourceString(IDS_HIDDEN_WINDOW_TITLE);
    instanceMutex_.reset(CreateMutexA(nullptr, FALSE, title.c_str()));
    if (GetLastError() != ERROR_ALREADY_EXISTS) return true;
    if (HWND running = FindWindowA(nullptr, title.c_str())) {
        PostMessageA(running, WM_COMMAND, ID_EARTH_CLOCK, 0);
    }
    return false;
}

bool ClockApp::startWallpaperThread() {
    uintptr_t thread = _beginthreadex(nullptr, 0, parts_.wallpaperThread, this, CREATE_SUSPENDED,
                                      nullptr);
    if (thread == 0) {
        TraceFailure("starting the wallpaper thread");
        return false;
    }
    wallpaperThreadHandle_.reset(reinterpret_cast<HANDLE>(thread));
    SetThreadPriority(wallpaperThreadHandle_.get(), THREAD_PRIORITY_NORMAL);
    ResumeThread(wallpaperThreadHandle_.get());
    return true;
}

void ClockApp::stopWallpaperThread() {
    quitRequested_ = true;
    if (!wallpaperThreadHandle_) return;
    SetThreadPriority(wallpaperThreadHandle_.get(), THREAD_PRIORITY_HIGHEST);
    // Set rather than pulsed: a thread busy rendering still sees the request when it next
    // waits, so exit does not sit out the whole timeout.
    if (wallpaperEvent_) SetEvent(wallpaperEvent_.get());
    wallpaperThreadEnded_ = WaitForSingleObject(wallpaperThreadHandle_.get(), kWallpaperStopTimeoutMs) == WAIT_OBJECT_0;
    wallpaperThreadHandle_.reset();
}

void ClockApp::startEclipseWatch() {
    const HWND told = mainWindow();
    eclipses_ = std::make_unique<EclipseWatch>(
        EphemerisPath(),
        [this] { return JulianDateNow(clock_); },
        [told] { PostMessageA(told, WM_ECLIPSES_CHANGED, 0, 0); });
    const auto homeOf = [](const UserOptions& o) { return EclipseHome{o.homeLatitude, o.homeLongitude, 0}; };
    eclipses_->watch(homeOf(settings_.snapshot()));
    homeListener_ = settings_.listen([this, homeOf](const Settings& before, const Settings& after) {
        if (before.options.homeLatitude != after.options.homeLatitude ||
            before.options.homeLongitude != after.options.homeLongitude) {
            eclipses_->watch(homeOf(after.options));
        }
    });
}

void ClockApp::searchEclipsesAgain() {
    if (eclipses_) eclipses_->searchAgain();
}

// The options are saved first: the wallpaper thread only reads them, and a picture still being
// drawn must not cost the settings when Windows ends a logoff that takes too long.
int ClockApp::exitInstance() {
    if (optionsLoaded_) saveOptions();
    if (eclipses_) {
        settings_.forget(homeListener_);
        eclipses_->stop();
    }
    stopWallpaperThread();
    wallpaperEvent_.reset();
    instanceMutex_.reset();
    // A wallpaper thread that outlived its wait may still be in the engine, holding the lock:
    // the file is then left to the end of the process.
    if (wallpaperThreadEnded_) {
        std::lock_guard<RecursiveLock> hold(settings_.shared().lock);
        CloseEphemeris();
    }
    if (socketsStarted_) WSACleanup();
    return 0;
}

bool ClockApp::preTranslateMessage(MSG& message) {
    return SplashWindow::filterMessage(message);
}
