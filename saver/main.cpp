// svsaver.scr: the screen saver. It shows the clock's Earth with the clock's options, found
// through the folder the clock records; it writes nothing of the clock's.
#include "app/ClockState.h"
#include "app/EphemerisFile.h"
#include "app/OptionsStore.h"
#include "app/WorldSettingsFile.h"
#include "app/ZoneRules.h"
#include "astro/Ephemeris.h"
#include "location/WorldPlaceMarks.h"
#include "platform/Dialog.h"
#include "platform/Dpi.h"
#include "platform/LocaleMonthNames.h"
#include "platform/MessageBoxPrompt.h"
#include "platform/RecursiveLock.h"
#include "platform/Resources.h"
#include "platform/SystemClock.h"
#include "platform/SystemTimeZone.h"
#include "platform/Win32Registry.h"
#include "render/ResourceBitmaps.h"
#include "render/SharedImages.h"
#include "res/resource.h"
#include "saver/PreviewWindow.h"
#include "saver/SaverCommandLine.h"
#include "saver/SaverResources.h"
#include "saver/ScreenSaverWindow.h"

#include <windows.h>

#include <mutex>

namespace {

// The saver's own choice, beside the clock's keys: whether it marks the world places.
const char kSaverKeyPath[] = "Software\\Kelbrook\\Solvane\\Screen Saver";
const char kShowPlacesValue[] = "ShowPlaces";

bool SaverShowsPlaces(Registry& registry) {
    std::string value;
    // The stored text may carry its terminating NUL.
    return registry.getString(RegistryRoot::CurrentUser, kSaverKeyPath, kShowPlacesValue, value) &&
           std::string(value.c_str()) == "1";
}

// The settings dialog: what the saver shows is set in the clock, but for the world places.
class SaverSettingsDialog : public Dialog {
public:
    SaverSettingsDialog() : Dialog(IDD_SAVER_SETTINGS) {}

protected:
    bool onInitDialog() override {
        putPicture();
        CheckDlgButton(hwnd(), IDC_SAVER_SHOW_PLACES, SaverShowsPlaces(registry_) ? BST_CHECKED : BST_UNCHECKED);
        return true;
    }

    void onDpiLaidOut() override { putPicture(); }

    // The picture at the dialog's DPI (drawn for 96 and 192), and the frame laid around it,
    // which keeps its own size: the picture loses no row.
    void putPicture() {
        HWND picture = GetDlgItem(hwnd(), IDC_SAVER_PICTURE);
        PutBitmapForDpi(picture, IDB_SAVER_SETTINGS_PICTURE, picture_);
        RECT r;
        GetWindowRect(picture, &r);
        MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&r), 2);
        const int margin = ScaledToDpi(2, WindowDpi(hwnd()));
        SetWindowPos(GetDlgItem(hwnd(), IDC_SAVER_PICTURE_FRAME), picture, r.left - margin, r.top - margin,
                     r.right - r.left + 2 * margin, r.bottom - r.top + 2 * margin, SWP_NOACTIVATE);
    }

    bool onCommand(UINT id) override {
        if (id != IDOK && id != IDCANCEL) return false;
        if (id == IDOK) {
            const bool show = IsDlgButtonChecked(hwnd(), IDC_SAVER_SHOW_PLACES) == BST_CHECKED;
            registry_.setString(RegistryRoot::CurrentUser, kSaverKeyPath, kShowPlacesValue, show ? "1" : "0", true);
        }
        end(1);
        return true;
    }

private:
    GdiBitmap picture_;
    Win32Registry registry_;
};

int RunMessageLoop() {
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return int(message.wParam);
}

int ShowPreview(HWND parent) {
    PreviewWindow preview;
    if (!IsWindow(parent) || !preview.create(parent)) return 1;
    return RunMessageLoop();
}

int RunFullScreen() {
    Win32Registry registry;
    MessageBoxPrompt prompt;
    const std::string folder = MainProgramFolder(registry);
    if (folder.empty()) {
        MessageBoxA(nullptr, LoadResourceString(IDS_SAVER_NO_CLOCK).c_str(),
                    LoadResourceString(IDS_SAVER_NO_CLOCK_CAPTION).c_str(), MB_OK | MB_ICONERROR);
        return 0;
    }
    // Without the ephemeris there is nothing to draw: the user is told, and the saver ends. The
    // ephemeris and a portable copy's options are data, read from the recorded folder without a
    // trust check by readers that check every bound; only the image library's code needs one.
    if (!OpenEphemeris(folder + "solvane.exe", prompt)) return 0;

    SystemTimeZone timeZone;
    LocaleMonthNames monthNames;
    SetMonthNameSource(&monthNames);
    RecursiveLock lock;  // one thread: the lock is never contended
    SystemClock clock;
    UserOptions options;
    AstroState astro = {};
    // The options of the user the saver runs for, in their folder or (portable) the clock's.
    const std::string clockProgram = folder + "solvane.exe";
    const std::string optionsPath = OptionsFileToRead(clockProgram, UserFileFoldersFor(clockProgram));
    LoadSaverOptions(options, {clockProgram, optionsPath, "", registry, prompt, timeZone, lock});
    {
        std::lock_guard<RecursiveLock> hold(lock);
        UpdateAstroState(astro, options, clock, true);
    }
    SetMoonSurfaceBitmap(IDB_SAVER_MOON_SURFACE);
    SetSharedImagesFolder(folder);

    BOOL wasRunning = FALSE;
    SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, TRUE, &wasRunning, 0);
    // The clock's settings file beside the options it read (read, never written): the twilight
    // bands as the clock shows them, and the world places where the saver's own choice is on; a
    // missing or unreadable file marks none.
    WorldSettings world;
    const bool worldRead = LoadWorldSettings(FileBesideProgram(optionsPath, kSettingsFileName), world);
    const bool showPlaces = SaverShowsPlaces(registry) && worldRead;
    WorldPlaceMarks placeMarks(folder + "WorldPlaces.bin");
    EarthViewModel model = {options, astro, lock, clock};
    model.world = &world;
    if (showPlaces) {
        model.places = [&] {
            return placeMarks.marks(world, (options.displayFlags & kLocalTime24Hour) != 0, SecondsOfUtc(clock.utcNow()));
        };
    }
    ScreenSaverWindow window(model);
    int result = 1;
    if (window.create()) result = RunMessageLoop();
    SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, FALSE, &wasRunning, 0);
    CloseEphemeris();
    return result;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    const SaverCommand command = ParseSaverCommandLine(commandLine);
    switch (command.mode) {
    case SaverMode::Run:
        return RunFullScreen();
    case SaverMode::Preview:
        return ShowPreview(reinterpret_cast<HWND>(command.window));
    case SaverMode::ChangePassword:
        return 0;  // Windows itself asks for the password when the session resumes
    case SaverMode::Configure:
        break;
    }
    // Over the display settings when they are named (and still there).
    HWND owner = reinterpret_cast<HWND>(command.window);
    SaverSettingsDialog dialog;
    dialog.runModal(IsWindow(owner) ? owner : nullptr);
    return 0;
}
