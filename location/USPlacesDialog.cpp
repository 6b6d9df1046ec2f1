#include "location/USPlacesDialog.h"

#include "app/Formatting.h"
#include "app/ProgramFiles.h"
#include "location/USPlaces.h"
#include "location/USStates.h"
#include "platform/ProgramPath.h"
#include "platform/Resources.h"
#include "res/resource.h"
#include "ui/HelpPage.h"
#include "ui/SkinnedDialog.h"

#include <vector>

namespace {

const DialogSkin kSkin = {IDB_BANNER_US_PLACES, 365, kBannerBandHeight, ControlColours::Standard,
                          {{IDOK, IDB_FACES_SAVE}, {IDCANCEL, IDB_FACES_CANCEL}, {IDC_PLACES_HELP, IDB_FACES_HELP}},
                          {IDC_PLACES_GROUP}};

class USPlacesDialog : public SkinnedDialog {
public:
    USPlacesDialog(const SkinBrushes& brushes, const UserOptions& options)
        : SkinnedDialog(IDD_US_PLACES, kSkin, brushes), options_(options) {}
    PickedPlace picked;

private:
    bool onInitDialog() override {
        path_ = DataFilePath(ProgramPath(), "USPlaces.bin");
        const USPlacesCheck check = CheckUSPlacesFile(path_);
        if (check != USPlacesCheck::Sound) {
            const UINT message = check == USPlacesCheck::Missing ? IDS_NO_PLACES_DATABASE : IDS_PLACES_DATABASE_DAMAGED;
            MessageBoxA(hwnd(), LoadResourceString(message).c_str(), LoadResourceString(IDS_APP_NAME).c_str(),
                        MB_OK | MB_ICONERROR);
            end(IDCANCEL);
            return true;
        }
        HWND states = GetDlgItem(hwnd(), IDC_STATE_LIST);
        for (int i = 0; i < kUSStateCount; ++i) {
            const LRESULT item = SendMessageA(states, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kUSStates[i].name));
            SendMessageA(states, CB_SETITEMDATA, item, i);
        }
        SendMessageA(states, CB_SETCURSEL, 0, 0);
        const int tabStops[2] = {120, 170};
        SendDlgItemMessageA(hwnd(), IDC_PLACE_LIST, LB_SETTABSTOPS, 2, reinterpret_cast<LPARAM>(tabStops));
        listState(int(SendMessageA(states, CB_GETITEMDATA, 0, 0)));
        return true;
    }

    // Fills the places list with state `state`'s places, none selected.
    void listState(int state) {
        HWND list = GetDlgItem(hwnd(), IDC_PLACE_LIST);
        SendMessageA(list, WM_SETREDRAW, FALSE, 0);
        SendMessageA(list, LB_RESETCONTENT, 0, 0);
        places_ = ReadUSPlacesFile(path_, state).places;
        for (std::size_t i = 0; i < places_.size(); ++i) {
            const USPlace& p = places_[i];
            const std::string line = std::string(p.name) + "\t" + FormatLatitude(p.latitude, options_) + "\t" +
                                     FormatLongitude(p.longitude, options_);
            const LRESULT item = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
            if (item >= 0) SendMessageA(list, LB_SETITEMDATA, item, LPARAM(i));
        }
        SendMessageA(list, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(list, nullptr, TRUE);
        EnableWindow(GetDlgItem(hwnd(), IDOK), FALSE);
    }

    bool takeSelection() {
        HWND list = GetDlgItem(hwnd(), IDC_PLACE_LIST);
        const LRESULT item = SendMessageA(list, LB_GETCURSEL, 0, 0);
        if (item == LB_ERR) return false;
        const auto index = std::size_t(SendMessageA(list, LB_GETITEMDATA, item, 0));
        if (index >= places_.size()) return false;
        const USPlace& p = places_[index];
        picked = {HomeNameOfPlace(p), p.latitude, p.longitude, p.state};
        return true;
    }

    bool onControlNotice(UINT id, UINT code) override {
        if (id == IDC_STATE_LIST && code == CBN_SELCHANGE) {
            HWND states = GetDlgItem(hwnd(), IDC_STATE_LIST);
            const LRESULT item = SendMessageA(states, CB_GETCURSEL, 0, 0);
            if (item != CB_ERR) listState(int(SendMessageA(states, CB_GETITEMDATA, item, 0)));
            return true;
        }
        if (id == IDC_PLACE_LIST && code == LBN_SELCHANGE) {
            EnableWindow(GetDlgItem(hwnd(), IDOK), SendDlgItemMessageA(hwnd(), IDC_PLACE_LIST, LB_GETCURSEL, 0, 0) != LB_ERR);
            return true;
        }
        if (id == IDC_PLACE_LIST && code == LBN_DBLCLK) {
            if (takeSelection()) end(IDOK);
            return true;
        }
        return false;
    }

    bool onCommand(UINT id) override {
        switch (id) {
        case IDOK:
            if (takeSelection()) end(IDOK);
            return true;
        case IDC_PLACES_HELP:
            OpenHelpPage("\\help\\HomeLocation.htm", SW_SHOWNORMAL);
            return true;
        }
        return SkinnedDialog::onCommand(id);
    }

    UserOptions options_;
    std::string path_;
    std::vector<USPlace> places_;
};

}  // namespace

bool LookUpUSPlace(HWND owner, const SkinBrushes& brushes, const UserOptions& options, PickedPlace& place) {
    USPlacesDialog dialog(brushes, options);
    if (dialog.runModal(owner) != IDOK) return false;
    place = dialog.picked;
    return true;
}
