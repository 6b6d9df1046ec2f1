#include "location/HomeLocationDialog.h"

#include "app/ProgramFiles.h"
#include "app/ZoneRulesReading.h"
#include "location/HomeCoordinates.h"
#include "location/NearestWorldPlace.h"
#include "location/USPlacesDialog.h"
#include "location/WorldPlaceLookup.h"
#include "location/WorldPlaces.h"
#include "location/ZoneChoices.h"
#include "platform/ProgramPath.h"
#include "platform/Resources.h"
#include "platform/WideText.h"
#include "res/resource.h"
#include "ui/HelpPage.h"
#include "ui/SkinBrushes.h"
#include "ui/SkinnedDialog.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace {

constexpr int kDecimalFieldLength = 15;

const DialogSkin kSkin = {IDB_BANNER_HOME_LOCATION, 221, 47, ControlColours::Standard,
                          {{IDOK, IDB_FACES_SAVE}, {IDCANCEL, IDB_FACES_CANCEL},
                           {IDC_US_LOOKUP, IDB_FACES_US_LOOKUP}, {IDC_WEB_LOOKUP, IDB_FACES_WEB_LOOKUP},
                           {kHelpButton, IDB_FACES_HELP}},
                          {IDC_LOCATION_NAME_GROUP, IDC_LATITUDE_GROUP, IDC_LONGITUDE_GROUP, IDC_ENTRY_FORM_GROUP,
                           IDC_TIME_ZONE_GROUP},
                          "\\help\\HomeLocation.htm", true};

// The degrees, minutes and seconds edits of latitude, then longitude.
const int kDmsEdits[2][3] = {{IDC_LATITUDE_DEGREES, IDC_LATITUDE_MINUTES, IDC_LATITUDE_SECONDS},
                             {IDC_LONGITUDE_DEGREES, IDC_LONGITUDE_MINUTES, IDC_LONGITUDE_SECONDS}};
const int kDmsEditLengths[3] = {3, 2, 2};
const int kDecimalControls[4] = {IDC_LATITUDE_DECIMAL, IDC_LONGITUDE_DECIMAL, IDC_LATITUDE_DECIMAL_LABEL,
                                 IDC_LONGITUDE_DECIMAL_LABEL};

// World places listed as the user types a name.
constexpr std::size_t kMostListedPlaces = 12;

// How a found world place is listed: its name, a United States place's state, its country.
std::wstring PlaceLine(const WorldPlaces& places, const WorldPlace& place) {
    std::string line(place.name);
    if (std::string_view(place.country) == "US" && !place.admin1.empty()) line += ", " + std::string(place.admin1);
    const std::string_view country = places.countryName(place.country);
    line += ", " + std::string(country.empty() ? std::string_view(place.country) : country);
    return WideFromUtf8(line);
}

class HomeLocationDialog : public SkinnedDialog {
public:
    explicit HomeLocationDialog(const HomeLocationRun& run)
        : SkinnedDialog(IDD_HOME_LOCATION, kSkin, SharedSkinBrushes()), run_(run) {}

private:
    bool onInitDialog() override {
        const UserOptions& o = run_.current;
        SendDlgItemMessageA(hwnd(), IDC_LOCATION_NAME, EM_LIMITTEXT, kHomeNameLength, 0);
        SetDlgItemTextA(hwnd(), IDC_LOCATION_NAME, CutName(FieldText(o.homeName)).c_str());
        for (int c = 0; c < 2; ++c) {
            for (int f = 0; f < 3; ++f) SendDlgItemMessageA(hwnd(), kDmsEdits[c][f], EM_LIMITTEXT, kDmsEditLengths[f], 0);
            SendDlgItemMessageA(hwnd(), kDecimalControls[c], EM_LIMITTEXT, kDecimalFieldLength, 0);
        }
        // A damaged stored place (not a number) starts from 0.
        latitude_ = std::isfinite(o.homeLatitude) ? o.homeLatitude : 0.0;
        longitude_ = std::isfinite(o.homeLongitude) ? o.homeLongitude : 0.0;
        showForm((o.displayFlags & kDegreesMinutesSeconds) != 0);
        const bool placesLoaded = places_.loadFile(DataFilePath(ProgramPath(), "WorldPlaces.bin")) == WorldPlacesCheck::Sound;
        EnableWindow(GetDlgItem(hwnd(), IDC_WORLD_PLACE), placesLoaded);
        listZones();
        return true;
    }

    // "This PC's time zone", then the world places' zones from west to east, and a stored zone
    // they lack (kept as it is); the home's zone selected.
    void listZones() {
        const std::vector<ZoneChoice> listed = ZoneChoicesOf(places_, run_.timeZone);
        HWND combo = GetDlgItem(hwnd(), IDC_HOME_TIME_ZONE);
        zoneIds_ = {""};
        SendMessageW(combo, CB_ADDSTRING, 0, LPARAM(LoadResourceStringWide(IDS_THIS_PC_TIME_ZONE).c_str()));
        for (const ZoneChoice& zone : listed) {
            zoneIds_.push_back(zone.id);
            SendMessageW(combo, CB_ADDSTRING, 0, LPARAM(zone.display.c_str()));
        }
        selectZone(run_.timeZone);
    }

    void selectZone(std::string_view windowsId) {
        const auto found = std::find(zoneIds_.begin(), zoneIds_.end(), windowsId);
        if (found == zoneIds_.end()) return;
        SendDlgItemMessageW(hwnd(), IDC_HOME_TIME_ZONE, CB_SETCURSEL, WPARAM(found - zoneIds_.begin()), 0);
    }

    std::string selectedZone() const {
        const LRESULT item = SendDlgItemMessageW(hwnd(), IDC_HOME_TIME_ZONE, CB_GETCURSEL, 0, 0);
        return item >= 0 && std::size_t(item) < zoneIds_.size() ? zoneIds_[std::size_t(item)] : std::string();
    }

    // The world places whose names begin with the typed text, listed under it as it is typed.
    void listMatches() {
        HWND combo = GetDlgItem(hwnd(), IDC_WORLD_PLACE);
        std::wstring typed(std::size_t(GetWindowTextLengthW(combo)) + 1, L'\0');
        typed.resize(std::size_t(GetWindowTextW(combo, &typed[0], int(typed.size()))));
        DWORD selStart = 0, selEnd = 0;
        SendMessageW(combo, CB_GETEDITSEL, WPARAM(&selStart), LPARAM(&selEnd));
        while (SendMessageW(combo, CB_DELETESTRING, 0, 0) > 0) {
        }
        matches_ = FindWorldPlaces(places_, Utf8FromWide(typed), kMostListedPlaces);
        for (std::size_t index : matches_) {
            SendMessageW(combo, CB_ADDSTRING, 0, LPARAM(PlaceLine(places_, places_.place(index)).c_str()));
        }
        SendMessageW(combo, CB_SHOWDROPDOWN, !matches_.empty(), 0);
        // Showing the list may put its first line in the edit: the typed text and caret stay.
        SetWindowTextW(combo, typed.c_str());
        SendMessageW(combo, CB_SETEDITSEL, 0, MAKELPARAM(selStart, selEnd));
    }

    // The picked world place's name (its ASCII name where the record's code page lacks some
    // of its letters), coordinates and zone.
    void takeMatch() {
        const LRESULT item = SendDlgItemMessageW(hwnd(), IDC_WORLD_PLACE, CB_GETCURSEL, 0, 0);
        if (item < 0 || std::size_t(item) >= matches_.size()) return;
        const WorldPlace place = places_.place(matches_[std::size_t(item)]);
        SendDlgItemMessageW(hwnd(), IDC_WORLD_PLACE, CB_SHOWDROPDOWN, FALSE, 0);
        std::string name;
        std::vector<std::wstring> lost;
        if (!AnsiFromWide(WideFromUtf8(std::string(place.name)), name, lost)) name = std::string(place.asciiName);
        SetDlgItemTextA(hwnd(), IDC_LOCATION_NAME, CutName(name).c_str());
        latitude_ = place.latitude;
        longitude_ = place.longitude;
        fillFields();
        selectZone(places_.zone(place.zone).windowsId);
    }

    // Shows the controls of one entry form, checks its radio and fills its fields from the
    // working coordinates.
    void showForm(bool dms) {
        dms_ = dms;
        for (int id = IDC_LATITUDE_DEGREES; id <= IDC_DMS_LABEL_LAST; ++id) {
            ShowWindow(GetDlgItem(hwnd(), id), dms ? SW_SHOW : SW_HIDE);
        }
        for (int id : kDecimalControls) ShowWindow(GetDlgItem(hwnd(), id), dms ? SW_HIDE : SW_SHOW);
        CheckRadioButton(hwnd(), IDC_ENTRY_DMS, IDC_ENTRY_DECIMAL, dms ? IDC_ENTRY_DMS : IDC_ENTRY_DECIMAL);
        fillFields();
    }

    void fillFields() {
        CheckRadioButton(hwnd(), IDC_NORTH, IDC_SOUTH, ShowsNorth(latitude_) ? IDC_NORTH : IDC_SOUTH);
        CheckRadioButton(hwnd(), IDC_EAST, IDC_WEST, ShowsEast(longitude_) ? IDC_EAST : IDC_WEST);
        const double values[2] = {latitude_, longitude_};
        for (int c = 0; c < 2; ++c) {
            if (dms_) {
                const DmsFields f = DmsFieldsOf(values[c]);
                SetDlgItemInt(hwnd(), kDmsEdits[c][0], f.degrees, FALSE);
                SetDlgItemInt(hwnd(), kDmsEdits[c][1], f.minutes, FALSE);
                SetDlgItemInt(hwnd(), kDmsEdits[c][2], f.seconds, FALSE);
            } else {
                SetDlgItemTextA(hwnd(), kDecimalControls[c], DecimalFieldText(values[c]).c_str());
            }
        }
    }

    // The coordinates as typed in the shown form; false (the user told, the field focused)
    // when a decimal field is not a number or minutes or seconds are 60 or more.
    bool readFields(double& latitude, double& longitude) {
        const bool negative[2] = {IsDlgButtonChecked(hwnd(), IDC_SOUTH) == BST_CHECKED,
                                  IsDlgButtonChecked(hwnd(), IDC_WEST) == BST_CHECKED};
        double values[2];
        for (int c = 0; c < 2; ++c) {
            if (dms_) {
                const UINT minutes = GetDlgItemInt(hwnd(), kDmsEdits[c][1], nullptr, FALSE);
                const UINT seconds = GetDlgItemInt(hwnd(), kDmsEdits[c][2], nullptr, FALSE);
                if (!CoordinateFromDms(GetDlgItemInt(hwnd(), kDmsEdits[c][0], nullptr, FALSE), minutes, seconds,
                                       negative[c], values[c])) {
                    refuse(IDS_HOME_MINUTES_TOO_LARGE, kDmsEdits[c][minutes >= 60 ? 1 : 2]);
                    return false;
                }
                continue;
            }
            char text[64] = "";
            GetDlgItemTextA(hwnd(), kDecimalControls[c], text, sizeof text);
            if (!CoordinateFromDecimalText(text, negative[c], values[c])) {
                refuse(IDS_HOME_NOT_A_NUMBER, kDecimalControls[c]);
                return false;
            }
        }
        latitude = values[0];
        longitude = values[1];
        return true;
    }

    void refuse(UINT message, int field) { refuseSaying(LoadResourceStringWide(message), field); }

    void refuseSaying(const std::wstring& message, int field) {
        MessageBoxW(hwnd(), message.c_str(), LoadResourceStringWide(IDS_APP_NAME).c_str(), MB_OK | MB_ICONEXCLAMATION);
        HWND control = GetDlgItem(hwnd(), field);
        SetFocus(control);
        SendMessageA(control, EM_SETSEL, 0, -1);
    }

    // False (the user told, the wrong field focused) for a place off the globe.
    bool onTheGlobe(double latitude, double longitude) {
        if (IsValidHomeCoordinate(latitude, longitude)) return true;
        const int wrong = IsValidHomeCoordinate(latitude, 0) ? 1 : 0;
        refuse(IDS_HOME_OUT_OF_RANGE, dms_ ? kDmsEdits[wrong][0] : kDecimalControls[wrong]);
        return false;
    }

    // Switching forms passes the values through the working coordinates, so a switch to
    // degrees, minutes and seconds rounds them to whole seconds. That form cannot show a
    // place off the globe (a huge number would turn into zeros), so such a place is refused
    // there and then and the decimal form stays.
    void switchForm(bool dms) {
        if (dms == dms_) return;
        double latitude, longitude;
        if (!readFields(latitude, longitude) || (dms && !onTheGlobe(latitude, longitude))) {
            CheckRadioButton(hwnd(), IDC_ENTRY_DMS, IDC_ENTRY_DECIMAL, dms_ ? IDC_ENTRY_DMS : IDC_ENTRY_DECIMAL);
            return;
        }
        latitude_ = latitude;
        longitude_ = longitude;
        showForm(dms);
    }

    // The typed name in the form the record stores; false (the user told which characters
    // cannot be kept, the name focused) when some would be lost on the way.
    bool readName(std::string& name) {
        HWND edit = GetDlgItem(hwnd(), IDC_LOCATION_NAME);
        std::wstring typed(std::size_t(GetWindowTextLengthW(edit)) + 1, L'\0');
        typed.resize(std::size_t(GetWindowTextW(edit, &typed[0], int(typed.size()))));
        std::vector<std::wstring> lost;
        if (AnsiFromWide(typed, name, lost)) return true;
        std::wstring listed;
        for (const std::wstring& character : lost) listed += (listed.empty() ? L"" : L" ") + character;
        std::wstring message = LoadResourceStringWide(IDS_HOME_NAME_NOT_STORABLE);
        const std::size_t mark = message.find(L"%s");
        if (mark != std::wstring::npos) message.replace(mark, 2, listed);
        refuseSaying(message, IDC_LOCATION_NAME);
        return false;
    }

    void lookUpUSPlace() {
        PickedPlace place;
        // The list shows coordinates in the form chosen here, saved or not.
        UserOptions o = run_.current;
        o.displayFlags = dms_ ? o.displayFlags | kDegreesMinutesSeconds : o.displayFlags & ~kDegreesMinutesSeconds;
        if (!LookUpUSPlace(hwnd(), brushes(), o, place)) return;
        SetDlgItemTextA(hwnd(), IDC_LOCATION_NAME, place.name.c_str());
        latitude_ = place.latitude;
        longitude_ = place.longitude;
        fillFields();
        // The United States places have no zone: their neighbours' in the same state.
        const int neighbour = NearestWorldPlaceInUSState(places_, place.state, place.latitude, place.longitude);
        if (neighbour >= 0) selectZone(places_.zone(places_.place(std::size_t(neighbour)).zone).windowsId);
    }

    void save() {
        double latitude, longitude;
        std::string name;
        if (!readFields(latitude, longitude) || !onTheGlobe(latitude, longitude) || !readName(name)) return;
        if (run_.save) run_.save({name, latitude, longitude, dms_, selectedZone()});
        end(IDOK);
    }

    bool onCommand(UINT id) override {
        switch (id) {
        case IDOK:
            save();
            return true;
        case IDC_ENTRY_DMS:
        case IDC_ENTRY_DECIMAL:
            switchForm(id == IDC_ENTRY_DMS);
            return true;
        case IDC_US_LOOKUP:
            lookUpUSPlace();
            return true;
        case IDC_WEB_LOOKUP:
            OpenPage(LoadResourceString(IDS_HOME_LOOKUP_PAGE), SW_SHOWMAXIMIZED);
            return true;
        }
        return SkinnedDialog::onCommand(id);
    }

    bool onControlNotice(UINT id, UINT code) override {
        if (id != IDC_WORLD_PLACE) return false;
        if (code == CBN_EDITCHANGE) listMatches();
        if (code == CBN_SELENDOK) takeMatch();
        return true;
    }

    const HomeLocationRun& run_;
    double latitude_ = 0, longitude_ = 0;  // degrees, north and east positive
    bool dms_ = false;                     // the form shown
    WorldPlaces places_;                   // empty when "WorldPlaces.bin" is missing or damaged
    std::vector<std::size_t> matches_;     // the listed world places, as indices into places_
    std::vector<std::string> zoneIds_;     // the zones listed, in order: "" for this PC's
};

}  // namespace

void ApplyHomePlace(const HomePlace& place, UserOptions& o) {
    SetFieldText(o.homeName, place.name);
    o.displayFlags = place.degreesMinutesSeconds ? o.displayFlags | kDegreesMinutesSeconds
                                                 : o.displayFlags & ~kDegreesMinutesSeconds;
    o.homeLatitude = float(place.latitude);
    o.homeLongitude = float(place.longitude);
}

INT_PTR RunHomeLocationDialog(HWND owner, const HomeLocationRun& run) {
    HomeLocationDialog dialog(run);
    return dialog.runModal(owner);
}
