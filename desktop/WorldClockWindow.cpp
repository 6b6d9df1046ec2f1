#include "desktop/WorldClockWindow.h"

#include "app/Formatting.h"
#include "app/PlaceDay.h"
#include "app/ProgramFiles.h"
#include "app/ZoneRules.h"
#include "app/ZoneRulesReading.h"
#include "desktop/WorldClockRows.h"
#include "desktop/WorldPlaceEdits.h"
#include "location/WorldPlaceLookup.h"
#include "location/ZoneChoices.h"
#include "platform/CivilClock.h"
#include "platform/Dpi.h"
#include "platform/GdiSurface.h"
#include "platform/ProgramPath.h"
#include "platform/RecursiveLock.h"
#include "platform/Resources.h"
#include "platform/WideText.h"
#include "res/resource.h"
#include "ui/SkinBrushes.h"
#include "ui/SkinColours.h"

#include <commctrl.h>

#include <algorithm>
#include <mutex>

namespace {

const char kClassName[] = "SolvaneWorldClock";
constexpr int kWidth = 760, kHeight = 470;  // the client area at 96 DPI
constexpr int kBandHeight = 44;              // the dark band with the title, by which it is dragged
constexpr UINT_PTR kMinuteTimer = 1;
constexpr int kZoneListWidth = 440;  // pixels at 96 DPI
constexpr UINT kPlacesChanged = WM_APP + 0x1E0;  // posted by the settings listener
constexpr int kMatchesShown = 12;

struct ChildPlace {
    int id;
    const char* className;
    UINT text;  // a string resource, or 0
    DWORD style;
    RECT at;  // left, top, width, height at 96 DPI
};
// In tab order: each label comes just before the control its mnemonic reaches.
const ChildPlace kChildren[] = {
    // The list's own text is not shown: it names the list for screen readers.
    {IDC_WORLD_LIST, WC_LISTVIEWA, IDS_WORLD_CLOCK_TITLE,
     LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_EDITLABELS | WS_BORDER | WS_TABSTOP, {12, 52, 736, 232}},
    {IDC_WORLD_RENAME, "BUTTON", IDS_WORLD_RENAME, BS_PUSHBUTTON | WS_TABSTOP, {12, 292, 96, 26}},
    {IDC_WORLD_REMOVE, "BUTTON", IDS_WORLD_REMOVE, BS_PUSHBUTTON | WS_TABSTOP, {114, 292, 96, 26}},
    {IDC_WORLD_UP, "BUTTON", IDS_WORLD_MOVE_UP, BS_PUSHBUTTON | WS_TABSTOP, {216, 292, 96, 26}},
    {IDC_WORLD_DOWN, "BUTTON", IDS_WORLD_MOVE_DOWN, BS_PUSHBUTTON | WS_TABSTOP, {318, 292, 96, 26}},
    {IDC_WORLD_STATUS, "STATIC", 0, SS_LEFT | SS_NOPREFIX, {12, 324, 736, 34}},
    {IDC_WORLD_NAME_LABEL, "STATIC", IDS_WORLD_NAME_LABEL, SS_LEFT, {12, 364, 250, 18}},
    {IDC_WORLD_NAME, "EDIT", 0, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, {12, 382, 250, 22}},
    {IDC_WORLD_MATCHES, "LISTBOX", 0, LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER | WS_TABSTOP,
     {12, 406, 250, 58}},
    {IDC_WORLD_ADD, "BUTTON", IDS_WORLD_ADD, BS_PUSHBUTTON | WS_TABSTOP, {268, 380, 80, 26}},
    {IDC_WORLD_LATITUDE_LABEL, "STATIC", IDS_WORLD_LATITUDE_LABEL, SS_LEFT, {368, 364, 84, 18}},
    {IDC_WORLD_LATITUDE, "EDIT", 0, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, {368, 382, 80, 22}},
    {IDC_WORLD_LONGITUDE_LABEL, "STATIC", IDS_WORLD_LONGITUDE_LABEL, SS_LEFT, {456, 364, 84, 18}},
    {IDC_WORLD_LONGITUDE, "EDIT", 0, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, {456, 382, 80, 22}},
    {IDC_WORLD_ZONE_LABEL, "STATIC", IDS_WORLD_ZONE_LABEL, SS_LEFT, {544, 364, 204, 18}},
    {IDC_WORLD_ZONE, "COMBOBOX", 0, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, {544, 382, 204, 300}},
    {IDC_WORLD_ADD_COORDINATES, "BUTTON", IDS_WORLD_ADD_COORDINATES, BS_PUSHBUTTON | WS_TABSTOP, {368, 410, 168, 26}},
};
constexpr POINT kCloseAt = {648, 424};

struct Column {
    UINT title;
    int width;  // at 96 DPI
};
const Column kColumns[] = {
    {IDS_WORLD_COLUMN_PLACE, 170}, {IDS_WORLD_COLUMN_TIME, 80},    {IDS_WORLD_COLUMN_DATE, 96},
    {IDS_WORLD_COLUMN_OFFSET, 84}, {IDS_WORLD_COLUMN_SKY, 66},     {IDS_WORLD_COLUMN_SUNRISE, 80},
    {IDS_WORLD_COLUMN_SUNSET, 80}, {IDS_WORLD_COLUMN_DAY_LENGTH, 76},
};

GdiFont Arial(int height, int weight) {
    return GdiFont(CreateFontA(-height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial"));
}

std::string Formatted(UINT id, const std::string& value) { return Printf(LoadResourceString(id).c_str(), value.c_str()); }

// Why a place was not added.
std::string RefusalText(PlaceAdded outcome) {
    switch (outcome) {
    case PlaceAdded::ListFull: return Printf(LoadResourceString(IDS_WORLD_LIST_FULL).c_str(), unsigned(kMostWorldPlaces));
    case PlaceAdded::NoName: return LoadResourceString(IDS_WORLD_NO_NAME);
    case PlaceAdded::BadCoordinates: return LoadResourceString(IDS_WORLD_BAD_COORDINATES);
    case PlaceAdded::NoZone: return LoadResourceString(IDS_WORLD_NO_ZONE);
    case PlaceAdded::Added: break;
    }
    return std::string();
}

std::string WindowTextUtf8(HWND window) {
    std::wstring text(size_t(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(size_t(GetWindowTextW(window, &text[0], int(text.size()))));
    return Utf8FromWide(text);
}

void SetItemText(HWND list, int item, int column, const std::string& text) {
    std::wstring wide = WideFromUtf8(text);
    LVITEMW cell = {};
    cell.iSubItem = column;
    cell.pszText = &wide[0];
    SendMessageW(list, LVM_SETITEMTEXTW, WPARAM(item), reinterpret_cast<LPARAM>(&cell));
}

UINT SkyText(SkyLight light) {
    switch (light) {
    case SkyLight::Day: return IDS_WORLD_DAY;
    case SkyLight::Twilight: return IDS_WORLD_TWILIGHT;
    case SkyLight::Night: break;
    }
    return IDS_WORLD_NIGHT;
}

// Alt+Up and Alt+Down in the list move the selected place, as the Move buttons do. The key
// still reaches the default handling, which then knows Alt was not pressed alone: otherwise
// letting Alt go would enter the (hidden) menu mode, and the next key would open a menu.
LRESULT CALLBACK ListKeys(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR) {
    if (message == WM_SYSKEYDOWN && (wParam == VK_UP || wParam == VK_DOWN)) {
        const int button = wParam == VK_UP ? IDC_WORLD_UP : IDC_WORLD_DOWN;
        SendMessageA(GetParent(list), WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
        return DefWindowProcA(list, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) RemoveWindowSubclass(list, ListKeys, id);
    return DefSubclassProc(list, message, wParam, lParam);
}

}  // namespace

WorldClockWindow::~WorldClockWindow() { destroy(); }

void WorldClockWindow::open() {
    if (hwnd() != nullptr) {
        if (IsIconic(hwnd())) ShowWindow(hwnd(), SW_RESTORE);
        ShowWindow(hwnd(), SW_SHOW);
        SetForegroundWindow(hwnd());
        resume();
        return;
    }
    HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_SOLVANE));
    if (!registerClass(kClassName, CS_DBLCLKS, nullptr, icon)) return;
    const RECT r = CentredOnPrimaryDisplay(kWidth, kHeight);
    const std::string title = LoadResourceString(IDS_WORLD_CLOCK_TITLE);
    // A popup of its own on the taskbar, minimised and restored there, keyboard-driven like a dialog.
    if (create(WS_EX_APPWINDOW | WS_EX_CONTROLPARENT, kClassName, title.c_str(),
               WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN, r.left, r.top, r.right - r.left,
               r.bottom - r.top)) {
        ShowWindow(hwnd(), SW_SHOW);
        SetForegroundWindow(hwnd());
        SetFocus(GetDlgItem(hwnd(), IDC_WORLD_NAME));
    }
}

bool WorldClockWindow::onCreate() {
    placesLoaded_ = places_.loadFile(DataFilePath(ProgramPath(), "WorldPlaces.bin")) == WorldPlacesCheck::Sound;
    if (!createChildren()) return false;
    RouteDialogKeys(hwnd(), true);
    // Another window (or a hand-edited settings file) may change the places: the list follows.
    listener_ = inputs_.settings.listen([this](const Settings& before, const Settings& after) {
        const bool clockForm = (before.options.displayFlags ^ after.options.displayFlags) & kLocalTime24Hour;
        if (before.world.places != after.world.places || clockForm) PostMessageA(hwnd(), kPlacesChanged, 0, 0);
    });
    fillList();
    if (placesLoaded_) {
        setStatusCount();
    } else {
        setStatus(LoadResourceString(IDS_WORLD_NO_PLACES_FILE));
    }
    armMinuteTimer();
    return true;
}

void WorldClockWindow::onDestroy() {
    if (listener_ >= 0) inputs_.settings.forget(listener_);
    listener_ = -1;
    KillTimer(hwnd(), kMinuteTimer);
    RouteDialogKeys(hwnd(), false);
}

bool WorldClockWindow::createChildren() {
    dpi_ = WindowDpi(hwnd());
    const HINSTANCE program = GetModuleHandleA(nullptr);
    for (const ChildPlace& c : kChildren) {
        const std::string text = c.text != 0 ? LoadResourceString(c.text) : std::string();
        const DWORD edge = std::string(c.className) == "EDIT" ? WS_EX_CLIENTEDGE : 0;
        if (CreateWindowExA(edge, c.className, text.c_str(), WS_CHILD | WS_VISIBLE | c.style, 0, 0, 10, 10, hwnd(),
                            reinterpret_cast<HMENU>(INT_PTR(c.id)), program, nullptr) == nullptr) {
            return false;
        }
    }
    HWND list = GetDlgItem(hwnd(), IDC_WORLD_LIST);
    SetWindowSubclass(list, ListKeys, 0, 0);
    // Ticks: shown on the globe; the whole row selected, so screen readers read it whole.
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_CHECKBOXES | LVS_EX_DOUBLEBUFFER);
    SendMessageA(list, LVM_SETBKCOLOR, 0, kSkinBand);
    SendMessageA(list, LVM_SETTEXTBKCOLOR, 0, kSkinBand);
    SendMessageA(list, LVM_SETTEXTCOLOR, 0, kSkinText);
    for (int i = 0; i < int(std::size(kColumns)); ++i) {
        std::wstring title = LoadResourceStringWide(kColumns[i].title);
        LVCOLUMNW column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.pszText = &title[0];
        column.cx = kColumns[i].width;
        column.iSubItem = i;
        SendMessageW(list, LVM_INSERTCOLUMNW, WPARAM(i), reinterpret_cast<LPARAM>(&column));
    }
    HWND zones = GetDlgItem(hwnd(), IDC_WORLD_ZONE);
    zoneIds_.clear();
    for (const ZoneChoice& zone : ZoneChoicesOf(places_)) {
        zoneIds_.push_back(zone.id);
        SendMessageW(zones, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(zone.display.c_str()));
    }
    SendMessageA(GetDlgItem(hwnd(), IDC_WORLD_NAME), EM_LIMITTEXT, 100, 0);
    if (!close_.create(hwnd(), "Close", 0, 0, IDC_WORLD_CLOSE, IDB_FACES_CLOSE)) return false;
    layout();
    return true;
}

// The children placed and lettered for the window's DPI (their places are given at 96).
void WorldClockWindow::layout() {
    const auto at = [&](int pixels) { return ScaledToDpi(pixels, dpi_); };
    // The old font goes only once no child uses it.
    GdiFont font = Arial(at(13), FW_NORMAL);
    titleFont_ = Arial(at(22), FW_BOLD);
    for (const ChildPlace& c : kChildren) {
        HWND child = GetDlgItem(hwnd(), c.id);
        MoveWindow(child, at(c.at.left), at(c.at.top), at(c.at.right), at(c.at.bottom), FALSE);
        SendMessageA(child, WM_SETFONT, WPARAM(font.get()), FALSE);
    }
    font_ = std::move(font);
    HWND list = GetDlgItem(hwnd(), IDC_WORLD_LIST);
    for (int i = 0; i < int(std::size(kColumns)); ++i) SendMessageA(list, LVM_SETCOLUMNWIDTH, WPARAM(i), at(kColumns[i].width));
    // The zones' names whole when the list drops down.
    SendMessageA(GetDlgItem(hwnd(), IDC_WORLD_ZONE), CB_SETDROPPEDWIDTH, WPARAM(at(kZoneListWidth)), 0);
    close_.dpiChanged();
    SetWindowPos(close_.hwnd(), nullptr, at(kCloseAt.x), at(kCloseAt.y), 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    InvalidateRect(hwnd(), nullptr, TRUE);
}

void WorldClockWindow::onDpiLayout(UINT dpi) {
    dpi_ = dpi;
    layout();
}

// The list made anew from the world settings, then its times.
void WorldClockWindow::fillList() {
    const WorldSettings world = inputs_.settings.world();
    HWND list = GetDlgItem(hwnd(), IDC_WORLD_LIST);
    const int keep = selectAfterChange_ >= 0 ? selectAfterChange_ : selected();
    selectAfterChange_ = -1;
    filling_ = true;
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    for (std::size_t i = 0; i < world.places.size(); ++i) {
        std::wstring name = WideFromUtf8(world.places[i].name);
        LVITEMW item = {};
        item.mask = LVIF_TEXT;
        item.iItem = int(i);
        item.pszText = &name[0];
        SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        ListView_SetCheckState(list, int(i), world.places[i].show);
    }
    const int count = int(world.places.size());
    if (count > 0) {
        const int row = std::min(std::max(keep, 0), count - 1);
        ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        ListView_EnsureVisible(list, row, FALSE);
    }
    filling_ = false;
    days_.assign(world.places.size(), KeptDay());
    refreshTimes();
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

// Each place's time, date, offset, sky and day, as of now. A place's day is worked out again
// only once its own calendar day is over (or the place changed).
void WorldClockWindow::refreshTimes() {
    timesStale_ = false;
    const WorldSettings world = inputs_.settings.world();
    const UserOptions options = inputs_.settings.snapshot();
    ClockSettings::Shared shared = inputs_.settings.shared();
    const int64_t now = SecondsOfUtc(shared.clock.utcNow());
    const CivilTime pcToday = shared.clock.localNow();
    static const ZoneRules utc = UtcZoneRules();
    HWND list = GetDlgItem(hwnd(), IDC_WORLD_LIST);
    for (std::size_t i = 0; i < world.places.size() && i < days_.size(); ++i) {
        const PlaceSetting& place = world.places[i];
        const std::shared_ptr<const ZoneRules> found = ProgramZones().find(place.timeZone);
        const ZoneRules& zone = found ? *found : utc;
        KeptDay& day = days_[i];
        const bool samePlace = day.timeZone == place.timeZone && day.latitude == place.latitude &&
                               day.longitude == place.longitude;
        SkyLight sky;
        {
            std::lock_guard<RecursiveLock> hold(shared.lock);  // the engine's caches are shared
            if (!samePlace || now < day.startUtc || now >= day.endUtc) {
                const PlaceDay computed = PlaceDayAt(place.latitude, place.longitude, zone, now);
                day = {place.timeZone, place.latitude, place.longitude, computed.startUtc, computed.endUtc,
                       computed.sunrise, computed.sunset, computed.dayLengthHours};
            }
            sky = SkyLightAt(place.latitude, place.longitude, now);
        }
        const ZoneTime local = ZoneTimeAt(zone, now);
        PlaceClock clock;
        clock.local = local.local;
        clock.utcOffsetMinutes = local.utcOffsetMinutes;
        if (day.sunrise) clock.sunrise = ZoneTimeAt(zone, *day.sunrise).local;
        if (day.sunset) clock.sunset = ZoneTimeAt(zone, *day.sunset).local;
        clock.dayLengthHours = day.dayLengthHours;
        PlaceRowTexts texts = FormatPlaceRow(clock, pcToday, options);
        if (!found) texts.offset = Formatted(IDS_WORLD_ZONE_MISSING, place.timeZone);
        const std::string cells[] = {texts.time, texts.date, texts.offset, LoadResourceString(SkyText(sky)),
                                     texts.sunrise, texts.sunset, texts.dayLength};
        for (int c = 0; c < int(std::size(cells)); ++c) SetItemText(list, int(i), c + 1, cells[c]);
    }
}

// The next refresh just after the minute turns on the PC's clock.
void WorldClockWindow::armMinuteTimer() {
    const CivilTime now = inputs_.settings.shared().clock.utcNow();
    SetTimer(hwnd(), kMinuteTimer, UINT(60 - now.second) * 1000 + 100, nullptr);
}

void WorldClockWindow::onTimer(UINT_PTR id) {
    if (id != kMinuteTimer) return;
    KillTimer(hwnd(), kMinuteTimer);
    // Minimised or hidden: nothing until it is seen again.
    if (IsIconic(hwnd()) || !IsWindowVisible(hwnd())) {
        timesStale_ = true;
        return;
    }
    refreshTimes();
    armMinuteTimer();
}

void WorldClockWindow::onSize(int, int, UINT kind) {
    if (kind == SIZE_MINIMIZED) {
        KillTimer(hwnd(), kMinuteTimer);
        timesStale_ = true;
    } else {
        resume();
    }
}

// Seen again after a minute's turn went by unseen: the times of now, and the minute's refresh.
void WorldClockWindow::resume() {
    if (!timesStale_) return;
    refreshTimes();
    armMinuteTimer();
}

// The matches of the typed name, the most likely first and chosen.
void WorldClockWindow::showMatches() {
    HWND box = GetDlgItem(hwnd(), IDC_WORLD_MATCHES);
    SendMessageA(box, LB_RESETCONTENT, 0, 0);
    matches_ = placesLoaded_ ? FindWorldPlaces(places_, WindowTextUtf8(GetDlgItem(hwnd(), IDC_WORLD_NAME)),
                                               kMatchesShown)
                             : std::vector<std::size_t>();
    for (std::size_t index : matches_) {
        const WorldPlace p = places_.place(index);
        std::string text(p.name);
        const std::string_view country = places_.countryName(p.country);
        text += ", " + std::string(country.empty() ? std::string_view(p.country) : country);
        text += " (" + std::string(places_.zone(p.zone).windowsId) + ")";
        SendMessageW(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(WideFromUtf8(text).c_str()));
    }
    if (!matches_.empty()) SendMessageA(box, LB_SETCURSEL, 0, 0);
}

void WorldClockWindow::addMatch() {
    const LRESULT chosen = SendMessageA(GetDlgItem(hwnd(), IDC_WORLD_MATCHES), LB_GETCURSEL, 0, 0);
    if (chosen < 0 || std::size_t(chosen) >= matches_.size()) {
        const bool typed = GetWindowTextLengthA(GetDlgItem(hwnd(), IDC_WORLD_NAME)) > 0;
        setStatus(LoadResourceString(typed ? IDS_WORLD_NO_MATCH : IDS_WORLD_NO_NAME));
        return;
    }
    const WorldPlace p = places_.place(matches_[std::size_t(chosen)]);
    PlaceSetting place;
    place.name = std::string(p.name);
    place.latitude = p.latitude;
    place.longitude = p.longitude;
    place.timeZone = std::string(places_.zone(p.zone).windowsId);
    if (add(place)) SetWindowTextA(GetDlgItem(hwnd(), IDC_WORLD_NAME), "");
}

// Adds the place, selected at the end of the list; false (and why, in the status line) when refused.
bool WorldClockWindow::add(const PlaceSetting& place) {
    PlaceAdded outcome = PlaceAdded::ListFull;
    selectAfterChange_ = int(inputs_.settings.world().places.size());
    inputs_.settings.update(WorldChange([&](WorldSettings& world) { outcome = AddPlace(world, place); }));
    if (outcome != PlaceAdded::Added) {
        selectAfterChange_ = -1;
        setStatus(RefusalText(outcome));
        return false;
    }
    // Shown once the list has followed the change, in place of the count.
    statusAfterChange_ = Formatted(IDS_WORLD_ADDED, place.name);
    return true;
}

void WorldClockWindow::addAtCoordinates() {
    const std::optional<double> latitude = ReadDegrees(WindowTextUtf8(GetDlgItem(hwnd(), IDC_WORLD_LATITUDE)), 90);
    const std::optional<double> longitude = ReadDegrees(WindowTextUtf8(GetDlgItem(hwnd(), IDC_WORLD_LONGITUDE)), 180);
    if (!latitude || !longitude) {
        setStatus(RefusalText(PlaceAdded::BadCoordinates));
        return;
    }
    PlaceSetting place;
    place.name = WindowTextUtf8(GetDlgItem(hwnd(), IDC_WORLD_NAME));
    place.latitude = *latitude;
    place.longitude = *longitude;
    HWND zones = GetDlgItem(hwnd(), IDC_WORLD_ZONE);
    const LRESULT zone = SendMessageA(zones, CB_GETCURSEL, 0, 0);
    if (zone >= 0 && std::size_t(zone) < zoneIds_.size()) place.timeZone = zoneIds_[std::size_t(zone)];
    if (!add(place)) return;
    for (int id : {IDC_WORLD_NAME, IDC_WORLD_LATITUDE, IDC_WORLD_LONGITUDE}) SetWindowTextA(GetDlgItem(hwnd(), id), "");
}

// Applies an edit of the selected row; `follow` is where the selection goes with it.
void WorldClockWindow::editSelected(const std::function<bool(WorldSettings&, std::size_t)>& edit, int follow) {
    const int row = selected();
    if (row < 0) return;
    selectAfterChange_ = row + follow;
    bool changed = false;
    inputs_.settings.update(WorldChange([&](WorldSettings& world) { changed = edit(world, std::size_t(row)); }));
    if (!changed) selectAfterChange_ = -1;
}

void WorldClockWindow::turnGlobeOverSelected() {
    const int row = selected();
    const WorldSettings world = inputs_.settings.world();
    if (row < 0 || std::size_t(row) >= world.places.size()) return;
    const PlaceSetting& place = world.places[std::size_t(row)];
    if (inputs_.turnGlobeOver) inputs_.turnGlobeOver(place.latitude, place.longitude);
    setStatus(Formatted(IDS_WORLD_TURNED, place.name));
}

void WorldClockWindow::renameSelected() {
    const int row = selected();
    if (row < 0) return;
    HWND list = GetDlgItem(hwnd(), IDC_WORLD_LIST);
    SetFocus(list);
    SendMessageA(list, LVM_EDITLABELA, WPARAM(row), 0);
}

int WorldClockWindow::selected() const {
    return int(SendMessageA(GetDlgItem(hwnd(), IDC_WORLD_LIST), LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED));
}

void WorldClockWindow::setStatus(const std::string& text) {
    SetWindowTextW(GetDlgItem(hwnd(), IDC_WORLD_STATUS), WideFromUtf8(text).c_str());
}

void WorldClockWindow::setStatusCount() {
    setStatus(Printf(LoadResourceString(IDS_WORLD_COUNT).c_str(), unsigned(inputs_.settings.world().places.size()),
                     unsigned(kMostWorldPlaces)));
}

bool WorldClockWindow::onCommand(UINT id) {
    HWND focus = GetFocus();
    switch (id) {
    case IDOK:  // Enter: what the focused control is for
        if (focus == GetDlgItem(hwnd(), IDC_WORLD_LIST)) {
            turnGlobeOverSelected();
        } else if (focus == GetDlgItem(hwnd(), IDC_WORLD_LATITUDE) || focus == GetDlgItem(hwnd(), IDC_WORLD_LONGITUDE) ||
                   focus == GetDlgItem(hwnd(), IDC_WORLD_ZONE)) {
            addAtCoordinates();
        } else {
            addMatch();
        }
        return true;
    case IDCANCEL:
    case IDC_WORLD_CLOSE:
        destroy();
        return true;
    case IDC_WORLD_ADD:
        addMatch();
        return true;
    case IDC_WORLD_ADD_COORDINATES:
        addAtCoordinates();
        return true;
    case IDC_WORLD_RENAME:
        renameSelected();
        return true;
    case IDC_WORLD_REMOVE:
        editSelected([](WorldSettings& world, std::size_t row) { return RemovePlace(world, row); }, 0);
        return true;
    case IDC_WORLD_UP:
        editSelected([](WorldSettings& world, std::size_t row) { return MovePlace(world, row, -1); }, -1);
        return true;
    case IDC_WORLD_DOWN:
        editSelected([](WorldSettings& world, std::size_t row) { return MovePlace(world, row, 1); }, 1);
        return true;
    }
    return false;
}

bool WorldClockWindow::onNotify(const NMHDR& notice, LRESULT& result) {
    result = 0;
    if (notice.idFrom != IDC_WORLD_LIST || filling_) return false;
    switch (notice.code) {
    case NM_DBLCLK:
    case NM_RETURN:
        turnGlobeOverSelected();
        return true;
    case LVN_KEYDOWN: {
        const WORD key = reinterpret_cast<const NMLVKEYDOWN&>(notice).wVKey;
        if (key == VK_DELETE) onCommand(IDC_WORLD_REMOVE);
        if (key == VK_F2) renameSelected();
        return true;
    }
    case LVN_ITEMCHANGED: {
        const auto& change = reinterpret_cast<const NMLISTVIEW&>(notice);
        const UINT ticks = LVIS_STATEIMAGEMASK;
        if (change.iItem < 0 || !(change.uChanged & LVIF_STATE) || ((change.uNewState ^ change.uOldState) & ticks) == 0) {
            return true;
        }
        const bool show = ((change.uNewState & ticks) >> 12) == 2;
        const std::size_t row = std::size_t(change.iItem);
        selectAfterChange_ = change.iItem;
        inputs_.settings.update(WorldChange([&](WorldSettings& world) { ShowPlace(world, row, show); }));
        return true;
    }
    case LVN_ENDLABELEDITW: {
        const auto& edit = reinterpret_cast<const NMLVDISPINFOW&>(notice);
        if (edit.item.pszText == nullptr) return true;  // given up
        const std::string name = Utf8FromWide(edit.item.pszText, wcslen(edit.item.pszText));
        const std::size_t row = std::size_t(edit.item.iItem);
        selectAfterChange_ = edit.item.iItem;
        bool renamed = false;
        inputs_.settings.update(WorldChange([&](WorldSettings& world) { renamed = RenamePlace(world, row, name); }));
        if (!renamed) selectAfterChange_ = -1;
        if (!renamed && name.find_first_not_of(" \t") == std::string::npos) setStatus(RefusalText(PlaceAdded::NoName));
        return true;  // the list is made anew from the settings (a refused name is not kept)
    }
    }
    return false;
}

void WorldClockWindow::onPaint(HDC dc) {
    const SelectedObject font(dc, titleFont_.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kSkinText);
    const std::string title = LoadResourceString(IDS_WORLD_CLOCK_TITLE);
    TextOutA(dc, ScaledToDpi(16, dpi_), ScaledToDpi(10, dpi_), title.c_str(), int(title.size()));
}

bool WorldClockWindow::onEraseBackground(HDC dc) {
    RECT client;
    GetClientRect(hwnd(), &client);
    const SkinBrushes& brushes = SharedSkinBrushes();
    RECT band = client;
    band.bottom = ScaledToDpi(kBandHeight, dpi_);
    FillRect(dc, &band, brushes.dark);
    client.top = band.bottom;
    FillRect(dc, &client, brushes.light);
    return true;
}

bool WorldClockWindow::onDrawItem(const DRAWITEMSTRUCT& item) {
    if (item.hwndItem != close_.hwnd()) return false;
    close_.draw(item);
    return true;
}

// Labels white on the body; edits and lists white on the band's dark colour.
HBRUSH WorldClockWindow::controlColours(UINT message, HDC dc) const {
    const SkinBrushes& brushes = SharedSkinBrushes();
    SetTextColor(dc, kSkinText);
    if (message == WM_CTLCOLORSTATIC || message == WM_CTLCOLORBTN) {
        SetBkColor(dc, kSkinBody);
        return brushes.light;
    }
    SetBkColor(dc, kSkinBand);
    return brushes.dark;
}

LRESULT WorldClockWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NOTIFYFORMAT:  // the list's notices in UTF-16: names are Unicode
        return NFR_UNICODE;
    case kPlacesChanged:
        fillList();
        if (statusAfterChange_.empty()) {
            setStatusCount();
        } else {
            setStatus(statusAfterChange_);
            statusAfterChange_.clear();
        }
        return 0;
    case WM_ACTIVATE:  // back from editing the settings file, perhaps: the list takes it on
        if (LOWORD(wParam) != WA_INACTIVE && inputs_.followSettingsFile) inputs_.followSettingsFile();
        break;
    case WM_TIMECHANGE:  // the zones' rules may have changed with the time
        ProgramZones().forget();  // whichever window hears of the change first
        days_.assign(days_.size(), KeptDay());
        refreshTimes();
        armMinuteTimer();
        return 0;
    case WM_NOTIFY: {
        LRESULT result = 0;
        if (onNotify(*reinterpret_cast<const NMHDR*>(lParam), result)) return result;
        break;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_WORLD_NAME && HIWORD(wParam) == EN_CHANGE) {
            showMatches();
            return 0;
        }
        if (LOWORD(wParam) == IDC_WORLD_MATCHES && HIWORD(wParam) == LBN_DBLCLK) {
            addMatch();
            return 0;
        }
        if (lParam != 0 && HIWORD(wParam) != BN_CLICKED) return 0;
        break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
        return reinterpret_cast<LRESULT>(controlColours(message, reinterpret_cast<HDC>(wParam)));
    case WM_NCHITTEST: {
        // Dragged by the band.
        const LRESULT hit = DefWindowProcA(hwnd(), message, wParam, lParam);
        POINT at = {short(LOWORD(lParam)), short(HIWORD(lParam))};
        ScreenToClient(hwnd(), &at);
        return hit == HTCLIENT && at.y >= 0 && at.y < ScaledToDpi(kBandHeight, dpi_) ? HTCAPTION : hit;
    }
    }
    return Window::handleMessage(message, wParam, lParam);
}
