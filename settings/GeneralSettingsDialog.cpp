#include "settings/GeneralSettingsDialog.h"

#include "app/Formatting.h"
#include "platform/HandleOwners.h"
#include "platform/Resources.h"
#include "render/ViewContext.h"
#include "res/resource.h"
#include "ui/SkinBrushes.h"
#include "ui/SkinnedDialog.h"

#include <commctrl.h>

namespace {

const DialogSkin kSkin = {IDB_BANNER_GENERAL_SETTINGS, 293, kBannerBandHeight, ControlColours::Standard,
                          {{IDOK, IDB_FACES_SAVE}, {IDCANCEL, IDB_FACES_CANCEL}, {kHelpButton, IDB_FACES_HELP},
                           {IDC_CHANGE_HOME, IDB_FACES_CHANGE}},
                          {IDC_WALLPAPER_GROUP, IDC_LOCATION_GROUP, IDC_OPENGL_GROUP},
                          "\\help\\general.htm", true};

class GeneralSettingsDialog : public SkinnedDialog {
public:
    explicit GeneralSettingsDialog(const GeneralSettingsRun& run)
        : SkinnedDialog(IDD_GENERAL_SETTINGS, kSkin, SharedSkinBrushes()), run_(run) {}

private:
    void check(int id, bool on) { CheckDlgButton(hwnd(), id, on ? BST_CHECKED : BST_UNCHECKED); }
    bool checked(int id) const { return IsDlgButtonChecked(hwnd(), id) == BST_CHECKED; }
    void enable(int id, bool on) { EnableWindow(GetDlgItem(hwnd(), id), on); }

    // The size fields are enabled exactly when "Use full desktop size" is clear; the monitors'
    // choice when it is checked (a typed size makes one picture for every monitor).
    void followFullDesktop() {
        enable(IDC_WALLPAPER_WIDTH, !checked(IDC_WALLPAPER_FULL_DESKTOP));
        enable(IDC_WALLPAPER_HEIGHT, !checked(IDC_WALLPAPER_FULL_DESKTOP));
        enable(IDC_WALLPAPER_MONITORS, checked(IDC_WALLPAPER_FULL_DESKTOP));
    }

    bool onInitDialog() override {
        const UserOptions& o = run_.current;
        check(IDC_USE_HARDWARE, o.useHardware3D == 1);
        check(IDC_START_AUTOMATICALLY, o.startWithWindows == 1);
        check(IDC_START_IN_TRAY, o.startInTrayOnly == 1);
        check(IDC_WALLPAPER_MOON_PHASES, o.wallpaperMoonPhases == 1);
        check(IDC_HIDE_SPLASH, o.hideSplash == 1);
        check(IDC_WALLPAPER_FULL_DESKTOP, o.wallpaperFullDesktop == 1);
        for (int id : {IDC_WALLPAPER_WIDTH, IDC_WALLPAPER_HEIGHT}) SendDlgItemMessageA(hwnd(), id, EM_LIMITTEXT, 5, 0);
        for (int text : {IDS_WALLPAPER_SAME_VIEW, IDS_WALLPAPER_ACROSS_MONITORS}) {
            SendDlgItemMessageA(hwnd(), IDC_WALLPAPER_MONITORS, CB_ADDSTRING, 0,
                                LPARAM(LoadResourceString(text).c_str()));
        }
        SendDlgItemMessageA(hwnd(), IDC_WALLPAPER_MONITORS, CB_SETCURSEL, o.wallpaperAcrossMonitors == 1 ? 1 : 0, 0);
        followFullDesktop();
        // A stored size that cannot be saved shows as the nearest that can.
        SetDlgItemInt(hwnd(), IDC_WALLPAPER_WIDTH, NearestWallpaperSide(o.wallpaperWidth), FALSE);
        SetDlgItemInt(hwnd(), IDC_WALLPAPER_HEIGHT, NearestWallpaperSide(o.wallpaperHeight), FALSE);
        check(IDC_WALLPAPER_ENABLED, o.wallpaperEnabled == 1);
        enable(IDC_WALLPAPER_MINUTES, o.wallpaperEnabled == 1);
        enable(IDC_WALLPAPER_MINUTES_SPIN, o.wallpaperEnabled == 1);
        SendDlgItemMessageA(hwnd(), IDC_WALLPAPER_MINUTES, EM_LIMITTEXT, 2, 0);
        SetDlgItemInt(hwnd(), IDC_WALLPAPER_MINUTES, UINT(o.wallpaperMinutes), FALSE);
        SendDlgItemMessageA(hwnd(), IDC_WALLPAPER_MINUTES_SPIN, UDM_SETRANGE32, kMinWallpaperMinutes, kMaxWallpaperMinutes);
        SendDlgItemMessageA(hwnd(), IDC_WALLPAPER_MINUTES_SPIN, UDM_SETPOS32, 0, o.wallpaperMinutes);

        if (!hasAcceleratedFormat(WindowDC(hwnd()).get())) enable(IDC_USE_HARDWARE, false);
        const OpenGLDriverNames driver = DriverOfViewContext(o.useHardware3D == 1);
        SetDlgItemTextA(hwnd(), IDC_GL_VENDOR, driver.vendor.c_str());
        SetDlgItemTextA(hwnd(), IDC_GL_RENDERER, driver.renderer.c_str());
        SetDlgItemTextA(hwnd(), IDC_GL_VERSION, driver.version.c_str());
        showHome(o);
        return true;
    }

    void showHome(const UserOptions& o) {
        SetDlgItemTextA(hwnd(), IDC_HOME_NAME_TEXT, FieldText(o.homeName).c_str());
        SetDlgItemTextA(hwnd(), IDC_HOME_LONGITUDE_TEXT, FormatLongitude(o.homeLongitude, o).c_str());
        SetDlgItemTextA(hwnd(), IDC_HOME_LATITUDE_TEXT, FormatLatitude(o.homeLatitude, o).c_str());
    }

    // An emptied or zero number becomes 1 at once, selected so that the next digit replaces it.
    bool onControlNotice(UINT id, UINT code) override {
        if (code != EN_CHANGE ||
            (id != IDC_WALLPAPER_MINUTES && id != IDC_WALLPAPER_WIDTH && id != IDC_WALLPAPER_HEIGHT)) {
            return false;
        }
        BOOL read = FALSE;
        const int value = int(GetDlgItemInt(hwnd(), id, &read, TRUE));
        if (!read || value <= 0) {
            SetDlgItemInt(hwnd(), id, 1, FALSE);
            SendDlgItemMessageA(hwnd(), id, EM_SETSEL, 0, -1);
        }
        return true;
    }

    void save() {
        const GeneralChoices c = {checked(IDC_START_AUTOMATICALLY), checked(IDC_START_IN_TRAY),
                                  checked(IDC_HIDE_SPLASH), checked(IDC_WALLPAPER_ENABLED),
                                  checked(IDC_WALLPAPER_FULL_DESKTOP), checked(IDC_WALLPAPER_MOON_PHASES),
                                  GetDlgItemInt(hwnd(), IDC_WALLPAPER_MINUTES, nullptr, FALSE),
                                  GetDlgItemInt(hwnd(), IDC_WALLPAPER_WIDTH, nullptr, FALSE),
                                  GetDlgItemInt(hwnd(), IDC_WALLPAPER_HEIGHT, nullptr, FALSE),
                                  checked(IDC_USE_HARDWARE),
                                  SendDlgItemMessageA(hwnd(), IDC_WALLPAPER_MONITORS, CB_GETCURSEL, 0, 0) == 1};
        if (!IsValidWallpaperSize(c.wallpaperWidth, c.wallpaperHeight)) {
            MessageBoxA(hwnd(), LoadResourceString(IDS_WALLPAPER_SIZE_REFUSED).c_str(),
                        LoadResourceString(IDS_APP_NAME).c_str(), MB_OK | MB_ICONEXCLAMATION);
            // The size fields follow "Use full desktop size": while it is checked they stay
            // disabled and the focus goes to the box, which must be cleared to mend the size.
            if (c.wallpaperFullDesktop) {
                SetFocus(GetDlgItem(hwnd(), IDC_WALLPAPER_FULL_DESKTOP));
                return;
            }
            const int field = IsValidWallpaperSize(c.wallpaperWidth, 1) ? IDC_WALLPAPER_HEIGHT : IDC_WALLPAPER_WIDTH;
            SetFocus(GetDlgItem(hwnd(), field));
            SendDlgItemMessageA(hwnd(), field, EM_SETSEL, 0, -1);
            return;
        }
        if (run_.save) run_.save(c);
        end(IDOK);
    }

    bool onCommand(UINT id) override {
        switch (id) {
        case IDOK:
            save();
            return true;
        case IDC_WALLPAPER_FULL_DESKTOP:
            followFullDesktop();
            return true;
        case IDC_WALLPAPER_ENABLED:
            enable(IDC_WALLPAPER_MINUTES, checked(IDC_WALLPAPER_ENABLED));
            enable(IDC_WALLPAPER_MINUTES_SPIN, checked(IDC_WALLPAPER_ENABLED));
            return true;
        case IDC_CHANGE_HOME:
            if (run_.changeHome) showHome(run_.changeHome(hwnd()));
            return true;
        }
        return SkinnedDialog::onCommand(id);
    }

    const GeneralSettingsRun& run_;
};

}  // namespace

INT_PTR RunGeneralSettingsDialog(HWND owner, const GeneralSettingsRun& run) {
    GeneralSettingsDialog dialog(run);
    return dialog.runModal(owner);
}
