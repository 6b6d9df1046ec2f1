#include "settings/ClockSettingsDialog.h"

#include "res/resource.h"
#include "ui/SkinBrushes.h"
#include "ui/SkinnedDialog.h"

#include <commctrl.h>

namespace {

const DialogSkin kSkin = {IDB_BANNER_CLOCK_SETTINGS, 260, kBannerBandHeight, ControlColours::ClockSettings,
                          {{IDOK, IDB_FACES_SAVE}, {IDCANCEL, IDB_FACES_CANCEL}, {kHelpButton, IDB_FACES_HELP}},
                          {IDC_DISPLAY_OPTIONS_GROUP, IDC_VIEWPOINT_GROUP, IDC_HIGHLIGHTED_TIME_GROUP},
                          "\\help\\ClockSettings.htm", true};

// The speed trackbar and its labels, usable only for the spinning globe.
const int kSpeedControls[4] = {IDC_SPIN_SPEED, IDC_SPIN_SPEED_LABEL, IDC_SPIN_SLOW_LABEL, IDC_SPIN_FAST_LABEL};

class ClockSettingsDialog : public SkinnedDialog {
public:
    explicit ClockSettingsDialog(const ClockSettingsRun& run)
        : SkinnedDialog(IDD_CLOCK_SETTINGS, kSkin, SharedSkinBrushes()), run_(run) {}

private:
    bool checked(int id) const { return IsDlgButtonChecked(hwnd(), id) == BST_CHECKED; }

    void enableSpeed(bool on) {
        for (int id : kSpeedControls) EnableWindow(GetDlgItem(hwnd(), id), on);
    }
    void enableNightLayers(bool on) {
        EnableWindow(GetDlgItem(hwnd(), IDC_URBAN_LIGHTING), on);
        EnableWindow(GetDlgItem(hwnd(), IDC_REALISTIC_TERMINATOR), on);
    }

    bool onInitDialog() override {
        const UserOptions& o = run_.current;
        SendDlgItemMessageA(hwnd(), IDC_SPIN_SPEED, TBM_SETRANGE, TRUE, MAKELPARAM(1, 10));
        SendDlgItemMessageA(hwnd(), IDC_SPIN_SPEED, TBM_SETPOS, TRUE, o.spinSpeed);
        checkRadio(ViewpointRadioFor(o.viewpoint));
        enableSpeed(o.viewpoint == kViewSpinningGlobe);
        checkRadio(TimeDisplayRadioFor(o.timeDisplay));
        for (const FlagBox& box : kDisplayFlagBoxes) {
            CheckDlgButton(hwnd(), box.control, (o.displayFlags & box.flag) ? BST_CHECKED : BST_UNCHECKED);
        }
        enableNightLayers((o.displayFlags & kShowNightShadow) != 0);
        return true;
    }

    // The night shadow changes at once, in the live options; Cancel keeps it.
    void nightShadowClicked() {
        const bool on = checked(IDC_NIGHT_SHADOW);
        enableNightLayers(on);
        if (run_.nightShadowNow) run_.nightShadowNow(on);
    }

    void save() {
        ClockChoices c = {kViewOverHome, kTimeNone, 0, 1};
        for (const RadioValue& radio : kViewpointRadios) {
            if (checked(radio.control)) c.viewpoint = radio.value;
        }
        for (const RadioValue& radio : kTimeDisplayRadios) {
            if (checked(radio.control)) c.timeDisplay = radio.value;
        }
        for (const FlagBox& box : kDisplayFlagBoxes) {
            if (checked(box.control)) c.displayFlags |= box.flag;
        }
        c.spinSpeed = int32_t(SendDlgItemMessageA(hwnd(), IDC_SPIN_SPEED, TBM_GETPOS, 0, 0));
        if (run_.save) run_.save(c);
        end(IDOK);
    }

    bool onCommand(UINT id) override {
        switch (id) {
        case IDOK:
            save();
            return true;
        case IDC_NIGHT_SHADOW:
            nightShadowClicked();
            return true;
        }
        for (const RadioValue& radio : kViewpointRadios) {
            if (int(id) == radio.control) {
                enableSpeed(id == IDC_VIEW_SPINNING && checked(IDC_VIEW_SPINNING));
                return true;
            }
        }
        return SkinnedDialog::onCommand(id);
    }

    const ClockSettingsRun& run_;
};

}  // namespace

INT_PTR RunClockSettingsDialog(HWND owner, const ClockSettingsRun& run) {
    ClockSettingsDialog dialog(run);
    return dialog.runModal(owner);
}
