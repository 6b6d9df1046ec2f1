// The Home Location, United States places, General and Clock settings dialogs in the real
// solvane.exe, opened by the tray's and the menu bar's commands, filled in as a user would and
// judged by what they store in "user.bin" and what the clock then shows.
#include "EarthClockFixture.h"

#include "render/GLTarget.h"

#include <gtest/gtest.h>
#include <uxtheme.h>

#include <cmath>
#include <cstddef>
#include <iterator>
#include <regex>
#include <set>

namespace {

std::string ItemText(HWND dialog, int id) { return WindowText(GetDlgItem(dialog, id)); }

void Type(HWND dialog, int id, const char* text) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text), SMTO_BLOCK, 5000, &result);
}

// Text in UTF-16, as a user of another script would type it.
void TypeWide(HWND dialog, int id, const wchar_t* text) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text), SMTO_BLOCK, 5000, &result);
}

bool Checked(HWND dialog, int id) {
    DWORD_PTR state = 0;
    SendMessageTimeoutA(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0, SMTO_BLOCK, 5000, &state);
    return state == BST_CHECKED;
}

// A click on a button, posted: what it starts (a message box, a dialog) may not return at once.
void Click(HWND dialog, int id) {
    PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

// A push of a button that ends the dialog or opens another (OK, Cancel, the lookups).
void Press(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), LPARAM(GetDlgItem(dialog, id)));
}

int CountDialogsWith(int id) {
    int count = 0;
    for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, "#32770", nullptr)) != nullptr;) {
        count += IsWindowVisible(w) && GetDlgItem(w, id) != nullptr;
    }
    return count;
}

bool Gone(HWND dialog) { return WaitUntil([&] { return !IsWindow(dialog); }, 10000); }

// The message box the program shows over `dialog`, dismissed; false when none came.
bool DismissMessageBox() {
    HWND box = WaitForWindow("Solvane", 10000, "#32770");
    if (box == nullptr) return false;
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    return WaitUntil([&] { return !IsWindow(box); }, 10000);
}

// The text of the message box the program shows, which is then dismissed; empty when none
// came. Asked in UTF-16 so that any character of it arrives.
std::wstring DismissMessageBoxSaying() {
    HWND box = WaitForWindow("Solvane", 10000, "#32770");
    if (box == nullptr) return L"";
    wchar_t text[1024] = L"";
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(GetDlgItem(box, 0xFFFF), WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_BLOCK, 5000,
                        &copied);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    if (!WaitUntil([&] { return !IsWindow(box); }, 10000)) return L"<not dismissed>";
    return text;
}

bool Says(const std::wstring& message, const wchar_t* part) { return message.find(part) != std::wstring::npos; }

// The control of `dialog`'s thread that has the keyboard focus.
HWND FocusOf(HWND dialog) {
    GUITHREADINFO info = {sizeof(info)};
    GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info);
    return info.hwndFocus;
}

// The pane's line that starts with `label`.
std::string PaneLine(HWND frame, const std::string& label) {
    const std::string text = WindowText(FindWindowExA(frame, nullptr, "SolvaneDataPane", nullptr));
    const std::size_t at = text.find(label);
    if (at == std::string::npos) return "";
    return text.substr(at, text.find('\r', at) - at);
}

class SettingsDialogs : public EarthClockTest {
protected:
    void SetUp() override {
        EarthClockTest::SetUp();
        options.homeLatitude = 28.55f;
        options.homeLongitude = -81.38f;
        SetFieldText(options.homeName, std::string("Orlando"));
        options.displayFlags |= kDegreesMinutesSeconds;
        // Fields no dialog shows: every save must keep them.
        options.units = 1;
        options.useProxy = 1;
        options.proxyPort = 8080;
        SetFieldText(options.proxyServer, std::string("proxy.example.org"));
        options.reserved420[7] = 0x5a;
    }
    std::string optionsPath() const { return folder.path("user.bin"); }
    // Every byte of "user.bin" is as the test wrote it but for the given fields, those the
    // program keeps up to date itself (the time zone, the window's place) and those the
    // dialog edits.
    void expectOnlyChanged(std::vector<std::pair<size_t, size_t>> fields) {
        fields.push_back({offsetof(UserOptions, timeZoneName), sizeof options.timeZoneName + sizeof options.timeZoneBias});
        fields.push_back({offsetof(UserOptions, frameLeft), 4 * sizeof(int32_t)});
        const std::vector<char> after = ReadBinaryFile(optionsPath());
        ASSERT_EQ(after.size(), sizeof options);
        const char* before = reinterpret_cast<const char*>(&options);
        for (size_t i = 0; i < sizeof options; ++i) {
            bool edited = false;
            for (const auto& f : fields) edited |= i >= f.first && i < f.first + f.second;
            if (!edited) {
                EXPECT_EQ(after[i], before[i]) << "byte " << i << " of user.bin changed";
            }
        }
    }
};

TEST_F(SettingsDialogs, HomeLocationTypedInEitherFormMovesTheClocksHome) {
    start();
    const std::string sunriseBefore = PaneLine(frame, "Sunrise:");
    EXPECT_NE(sunriseBefore, "");
    // From the menu bar: owned by the earth clock window.
    HWND home = OpenDialogWith(frame, ID_HOME_LOCATION, IDC_LOCATION_NAME);
    ASSERT_NE(home, nullptr);
    EXPECT_EQ(GetWindow(home, GW_OWNER), frame);
    ASSERT_TRUE(WaitUntilIdle(home));
    KeepScreenshot(SettledCapture(home), "home-location.bmp");
    EXPECT_EQ(ItemText(home, IDC_LOCATION_NAME), "Orlando");
    EXPECT_TRUE(Checked(home, IDC_ENTRY_DMS));
    EXPECT_EQ(ItemText(home, IDC_LATITUDE_DEGREES) + " " + ItemText(home, IDC_LATITUDE_MINUTES) + " " +
                  ItemText(home, IDC_LATITUDE_SECONDS), "28 33 0");
    EXPECT_EQ(ItemText(home, IDC_LONGITUDE_DEGREES) + " " + ItemText(home, IDC_LONGITUDE_MINUTES) + " " +
                  ItemText(home, IDC_LONGITUDE_SECONDS), "81 22 48");
    EXPECT_TRUE(Checked(home, IDC_NORTH));
    EXPECT_TRUE(Checked(home, IDC_WEST));

    // A second one, from the tray, ends at once.
    PostMessageA(hidden, WM_COMMAND, ID_HOME_LOCATION, 0);
    EXPECT_TRUE(WaitUntilIdle(hidden));
    EXPECT_EQ(CountDialogsWith(IDC_LOCATION_NAME), 1);

    // Minutes or seconds of 60 or more: refused at Save and at a switch of form, never carried
    // into the degrees.
    const std::vector<char> stored = ReadBinaryFile(optionsPath());
    Type(home, IDC_LATITUDE_DEGREES, "33");
    Type(home, IDC_LATITUDE_MINUTES, "75");
    Press(home, IDOK);
    EXPECT_TRUE(Says(DismissMessageBoxSaying(), L"at most 59")) << "the refusal is explained";
    EXPECT_TRUE(IsWindow(home));
    Type(home, IDC_LATITUDE_MINUTES, "0");
    Type(home, IDC_LONGITUDE_SECONDS, "60");
    Click(home, IDC_ENTRY_DECIMAL);
    EXPECT_TRUE(Says(DismissMessageBoxSaying(), L"at most 59"));
    EXPECT_TRUE(WaitUntil([&] { return Checked(home, IDC_ENTRY_DMS); }, 5000)) << "the form stays";
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(home, IDC_LATITUDE_DEGREES)));
    EXPECT_EQ(ReadBinaryFile(optionsPath()), stored);
    Type(home, IDC_LONGITUDE_SECONDS, "48");

    // A latitude past the pole: refused, the dialog stays, nothing stored.
    Type(home, IDC_LATITUDE_DEGREES, "90");
    Type(home, IDC_LATITUDE_SECONDS, "1");
    Press(home, IDOK);
    EXPECT_TRUE(Says(DismissMessageBoxSaying(), L"at most 90 degrees")) << "the refusal is explained";
    EXPECT_TRUE(IsWindow(home));
    EXPECT_EQ(ReadBinaryFile(optionsPath()), stored);

    // Switching to decimal degrees carries the typed values over.
    Click(home, IDC_ENTRY_DECIMAL);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(GetDlgItem(home, IDC_LATITUDE_DECIMAL)) != 0; }, 5000));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(home, IDC_LATITUDE_DEGREES)));
    EXPECT_EQ(ItemText(home, IDC_LATITUDE_DECIMAL), "90.00028");
    EXPECT_EQ(ItemText(home, IDC_LONGITUDE_DECIMAL), "81.38000");

    // A place off the globe cannot go back to degrees, minutes and seconds (a huge number
    // would turn into zeros there and be saved): refused, the decimal form and its text stay.
    Type(home, IDC_LATITUDE_DECIMAL, "1e15");
    Click(home, IDC_ENTRY_DMS);
    EXPECT_TRUE(Says(DismissMessageBoxSaying(), L"at most 90 degrees"));
    EXPECT_TRUE(WaitUntil([&] { return Checked(home, IDC_ENTRY_DECIMAL); }, 5000)) << "the form stays";
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(home, IDC_LATITUDE_DECIMAL)));
    EXPECT_EQ(ItemText(home, IDC_LATITUDE_DECIMAL), "1e15");
    Press(home, IDOK);
    EXPECT_TRUE(Says(DismissMessageBoxSaying(), L"at most 90 degrees"));
    EXPECT_EQ(ReadBinaryFile(optionsPath()), stored);

    // Text that is not a number is refused as well.
    Type(home, IDC_LATITUDE_DECIMAL, "north");
    Press(home, IDOK);
    EXPECT_TRUE(DismissMessageBox());
    EXPECT_EQ(ReadBinaryFile(optionsPath()), stored);

    Type(home, IDC_LATITUDE_DECIMAL, "64.1466");
    Type(home, IDC_LONGITUDE_DECIMAL, "21.9426");
    // A name with characters the record's code page lacks: refused, naming each of them once,
    // rather than stored as question marks.
    TypeWide(home, IDC_LOCATION_NAME, L"Tokyo \u6771\u4eac? \u6771");
    Press(home, IDOK);
    const std::wstring said = DismissMessageBoxSaying();
    EXPECT_TRUE(Says(said, L": \u6771 \u4eac\n")) << "the characters named";
    EXPECT_TRUE(IsWindow(home));
    EXPECT_EQ(ReadBinaryFile(optionsPath()), stored);

    // One the code page has is kept (Windows-1252 here).
    TypeWide(home, IDC_LOCATION_NAME, L"Reykjav\u00edk");
    Press(home, IDOK);
    ASSERT_TRUE(Gone(home));
    const UserOptions saved = ReadOptions(optionsPath());
    EXPECT_EQ(FieldText(saved.homeName), "Reykjav\xEDk");
    EXPECT_NEAR(saved.homeLatitude, 64.1466, 1e-4);
    EXPECT_NEAR(saved.homeLongitude, -21.9426, 1e-4);
    EXPECT_EQ(saved.displayFlags, options.displayFlags & ~kDegreesMinutesSeconds);
    expectOnlyChanged({{offsetof(UserOptions, displayFlags), 4}, {offsetof(UserOptions, homeLongitude), 8},
                       {offsetof(UserOptions, homeName), sizeof options.homeName}});
    // The pane follows at once: the new name and coordinates, another sunrise.
    EXPECT_TRUE(WaitUntil([&] { return PaneLine(frame, "Reykjav\xEDk") != ""; }, 5000));
    EXPECT_NE(PaneLine(frame, "Sunrise:"), sunriseBefore);
    stop();
}

TEST_F(SettingsDialogs, UnitedStatesLookupFillsTheHomeLocation) {
    // First a database cut short: the user is told it is damaged, not shown empty lists.
    std::vector<char> cut = ReadBinaryFile(DistFolder() + "\\USPlaces.bin");
    ASSERT_GT(cut.size(), 1000u);
    cut.resize(1000);
    ASSERT_TRUE(WriteBinaryFile(folder.path("USPlaces.bin"), cut));
    ASSERT_TRUE(CopyFileA((DistFolder() + "\\WorldPlaces.bin").c_str(), folder.path("WorldPlaces.bin").c_str(), FALSE));
    options.displayFlags &= ~kDegreesMinutesSeconds;
    start();
    HWND home = OpenDialogWith(hidden, ID_HOME_LOCATION, IDC_LOCATION_NAME);
    ASSERT_NE(home, nullptr);
    EXPECT_EQ(GetWindow(home, GW_OWNER), nullptr) << "from the tray: no owner";
    Press(home, IDC_US_LOOKUP);
    EXPECT_TRUE(Says(DismissMessageBoxSaying(), L"damaged"));
    EXPECT_TRUE(WaitUntilIdle(home));
    EXPECT_EQ(CountDialogsWith(IDC_PLACES_GROUP), 0);

    ASSERT_TRUE(CopyFileA((DistFolder() + "\\USPlaces.bin").c_str(), folder.path("USPlaces.bin").c_str(), FALSE));
    EXPECT_EQ(ItemText(home, IDC_HOME_TIME_ZONE), "This PC's time zone") << "an existing user's home";
    Press(home, IDC_US_LOOKUP);
    HWND places = WaitForDialogWith(IDC_PLACES_GROUP);
    ASSERT_NE(places, nullptr);
    EXPECT_EQ(GetWindow(places, GW_OWNER), home);
    HWND states = GetDlgItem(places, IDC_STATE_LIST), list = GetDlgItem(places, IDC_PLACE_LIST);
    ASSERT_TRUE(WaitUntilIdle(places));
    EXPECT_EQ(SendMessageA(states, CB_GETCOUNT, 0, 0), 57);
    EXPECT_GT(SendMessageA(list, LB_GETCOUNT, 0, 0), 100) << "Alabama's places";
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(places, IDOK)));

    const LRESULT rhodeIsland = SendMessageA(states, CB_FINDSTRINGEXACT, WPARAM(-1), LPARAM("Rhode Island"));
    ASSERT_NE(rhodeIsland, CB_ERR);
    SendMessageA(states, CB_SETCURSEL, rhodeIsland, 0);
    PostMessageA(places, WM_COMMAND, MAKEWPARAM(IDC_STATE_LIST, CBN_SELCHANGE), LPARAM(states));
    LRESULT providence = LB_ERR;
    ASSERT_TRUE(WaitUntil([&] {
        return (providence = SendMessageA(list, LB_FINDSTRING, WPARAM(-1), LPARAM("Providence\t"))) != LB_ERR;
    }, 10000)) << "Rhode Island's places";
    // Asked in UTF-16: wine hands another process's list-box text over in that form.
    wchar_t wide[256] = L"";
    SendMessageW(list, LB_GETTEXT, providence, LPARAM(wide));
    char line[256] = "";
    WideCharToMultiByte(CP_ACP, 0, wide, -1, line, sizeof line, nullptr, nullptr);
    EXPECT_NE(std::string(line).find("41.8"), std::string::npos) << line << ": decimal degrees, as preferred";
    EXPECT_NE(std::string(line).find(" N\t"), std::string::npos) << line;
    KeepScreenshot(SettledCapture(places), "us-places.bmp");
    SendMessageA(list, LB_SETCURSEL, providence, 0);
    PostMessageA(places, WM_COMMAND, MAKEWPARAM(IDC_PLACE_LIST, LBN_SELCHANGE), LPARAM(list));
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(GetDlgItem(places, IDOK)) != 0; }, 5000));
    PostMessageA(places, WM_COMMAND, MAKEWPARAM(IDC_PLACE_LIST, LBN_DBLCLK), LPARAM(list));  // as OK
    ASSERT_TRUE(Gone(places));

    EXPECT_EQ(ItemText(home, IDC_LOCATION_NAME), "Providence, RI") << "with its state, as the default home";
    EXPECT_EQ(ItemText(home, IDC_LATITUDE_DECIMAL).substr(0, 4), "41.8");
    EXPECT_EQ(ItemText(home, IDC_LONGITUDE_DECIMAL).substr(0, 4), "71.4");
    EXPECT_TRUE(Checked(home, IDC_NORTH));
    EXPECT_TRUE(Checked(home, IDC_WEST));
    EXPECT_NE(ItemText(home, IDC_HOME_TIME_ZONE).find("Eastern"), std::string::npos)
        << ItemText(home, IDC_HOME_TIME_ZONE) << ": the zone of Rhode Island's places";
    // Saved in degrees, minutes and seconds: whole seconds, and the form kept as the preference.
    Click(home, IDC_ENTRY_DMS);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(GetDlgItem(home, IDC_LATITUDE_DEGREES)) != 0; }, 5000));
    const unsigned degrees = std::stoul(ItemText(home, IDC_LATITUDE_DEGREES));
    const unsigned minutes = std::stoul(ItemText(home, IDC_LATITUDE_MINUTES));
    const unsigned seconds = std::stoul(ItemText(home, IDC_LATITUDE_SECONDS));
    Press(home, IDOK);
    ASSERT_TRUE(Gone(home));
    const UserOptions saved = ReadOptions(optionsPath());
    EXPECT_EQ(FieldText(saved.homeName), "Providence, RI");
    EXPECT_NEAR(saved.homeLatitude, degrees + minutes / 60.0 + seconds / 3600.0, 1e-5);
    EXPECT_NEAR(saved.homeLatitude, 41.82, 0.05);
    EXPECT_NEAR(saved.homeLongitude, -71.41, 0.05);
    EXPECT_NE(saved.displayFlags & kDegreesMinutesSeconds, 0u);

    // A world place typed by name: listed as it is typed, and picking it brings its name,
    // coordinates and zone; the pane then gives the home's day in that zone.
    home = OpenDialogWith(hidden, ID_HOME_LOCATION, IDC_LOCATION_NAME);
    ASSERT_NE(home, nullptr);
    EXPECT_NE(ItemText(home, IDC_HOME_TIME_ZONE).find("Eastern"), std::string::npos) << "the zone kept";
    HWND world = GetDlgItem(home, IDC_WORLD_PLACE);
    // Typed a key at a time into the box's edit, as the keyboard would.
    HWND edit = FindWindowExA(world, nullptr, "Edit", nullptr);
    ASSERT_NE(edit, nullptr);
    for (const char key : std::string("sydn")) PostMessageA(edit, WM_CHAR, WPARAM(key), 0);
    ASSERT_TRUE(WaitUntil([&] { return ItemText(home, IDC_WORLD_PLACE) == "sydn"; }, 10000)) << "the typed text stays";
    ASSERT_TRUE(WaitUntilIdle(home));
    ASSERT_GT(SendMessageA(world, CB_GETCOUNT, 0, 0), 0);
    KeepScreenshot(SettledCapture(home), "home-location-world-place.bmp");
    wchar_t first[256] = L"";
    SendMessageW(world, CB_GETLBTEXT, 0, LPARAM(first));
    EXPECT_EQ(std::wstring(first), L"Sydney, Australia") << "the most populous first";
    SendMessageA(world, CB_SETCURSEL, 0, 0);
    PostMessageA(home, WM_COMMAND, MAKEWPARAM(IDC_WORLD_PLACE, CBN_SELENDOK), LPARAM(world));
    ASSERT_TRUE(WaitUntil([&] { return ItemText(home, IDC_LOCATION_NAME) == "Sydney"; }, 5000));
    EXPECT_NE(ItemText(home, IDC_HOME_TIME_ZONE).find("Sydney"), std::string::npos) << ItemText(home, IDC_HOME_TIME_ZONE);
    EXPECT_TRUE(Checked(home, IDC_SOUTH));
    EXPECT_TRUE(Checked(home, IDC_EAST));
    EXPECT_EQ(ItemText(home, IDC_LATITUDE_DEGREES), "33");
    KeepScreenshot(SettledCapture(home), "home-location-zone.bmp");
    Press(home, IDOK);
    ASSERT_TRUE(Gone(home));
    EXPECT_EQ(FieldText(ReadOptions(optionsPath()).homeName), "Sydney");
    // The pane gives Sydney's day in Sydney's zone, named: its sunrise in the morning (in the
    // PC's zone, UTC here, it is in the evening before).
    ASSERT_TRUE(WaitUntil([&] { return PaneLine(frame, "Sydney").find("AUS Eastern") != std::string::npos; }, 10000))
        << PaneLine(frame, "Sydney");
    const std::string sunrise = PaneLine(frame, "Sunrise:");
    EXPECT_TRUE(std::regex_search(sunrise, std::regex("^Sunrise: 0[4-7]:[0-5][0-9] a\\.m\\. "))) << sunrise;
    KeepScreenshot(SettledCapture(frame), "home-zone-pane.bmp");
    // A time change has the zone read again; the pane keeps naming it.
    DWORD_PTR answered = 0;
    ASSERT_NE(SendMessageTimeoutA(hidden, WM_TIMECHANGE, 0, 0, SMTO_BLOCK, 10000, &answered), 0);
    EXPECT_NE(PaneLine(frame, "Sydney").find("AUS Eastern"), std::string::npos) << PaneLine(frame, "Sydney");
    stop();
}

TEST_F(SettingsDialogs, ClockSettingsTurnTheEarthAndKeepTheNightShadowClick) {
    options.timeDisplay = kTimeNone;  // the view then changes only with the viewpoint
    options.viewpoint = kViewOverHome;
    start();
    ASSERT_TRUE(WaitUntil([&] { return GlobeShown(FindWindowExA(frame, nullptr, "SolvaneEarthView", nullptr)); }, 20000));
    HWND view = FindWindowExA(frame, nullptr, "SolvaneEarthView", nullptr);
    const Capture before = CaptureWindow(view);

    HWND clock = OpenDialogWith(hidden, ID_CLOCK_SETTINGS, IDC_VIEWPOINT_GROUP);
    ASSERT_NE(clock, nullptr);
    ASSERT_TRUE(WaitUntilIdle(clock));
    KeepScreenshot(SettledCapture(clock), "clock-settings.bmp");
    EXPECT_TRUE(Checked(clock, IDC_VIEW_OVER_HOME));
    EXPECT_TRUE(Checked(clock, IDC_TIME_NONE));
    EXPECT_TRUE(Checked(clock, IDC_NIGHT_SHADOW));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(clock, IDC_SPIN_SPEED))) << "only for the spinning globe";
    Click(clock, IDC_VIEW_SPINNING);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(GetDlgItem(clock, IDC_SPIN_SPEED)) != 0; }, 5000));
    Click(clock, IDC_VIEW_FROM_SUN);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowEnabled(GetDlgItem(clock, IDC_SPIN_SPEED)); }, 5000));
    // A second Clock settings dialog ends at once.
    PostMessageA(frame, WM_COMMAND, ID_CLOCK_SETTINGS, 0);
    EXPECT_TRUE(WaitUntilIdle(frame));
    EXPECT_EQ(CountDialogsWith(IDC_VIEWPOINT_GROUP), 1);
    Press(clock, IDOK);
    ASSERT_TRUE(Gone(clock));
    EXPECT_EQ(ReadOptions(optionsPath()).viewpoint, kViewFromSun);
    expectOnlyChanged({{offsetof(UserOptions, viewpoint), 4}});
    // From the Sun the whole lit face shows: a different picture.
    EXPECT_TRUE(WaitUntil([&] {
        const Capture now = CaptureWindow(view);
        size_t changed = 0;
        for (size_t i = 0; i < now.bgra.size() && i < before.bgra.size(); i += 4) {
            changed += std::abs(now.bgra[i] - before.bgra[i]) + std::abs(now.bgra[i + 1] - before.bgra[i + 1]) > 60;
        }
        return changed > now.bgra.size() / 4 / 20;
    }, 10000)) << "the Earth view turned";

    // The night shadow acts at once, and Cancel keeps it.
    clock = OpenDialogWith(frame, ID_CLOCK_SETTINGS, IDC_VIEWPOINT_GROUP);
    ASSERT_NE(clock, nullptr);
    EXPECT_EQ(GetWindow(clock, GW_OWNER), frame);
    Click(clock, IDC_NIGHT_SHADOW);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowEnabled(GetDlgItem(clock, IDC_URBAN_LIGHTING)); }, 5000));
    Press(clock, IDCANCEL);
    ASSERT_TRUE(Gone(clock));
    clock = OpenDialogWith(hidden, ID_CLOCK_SETTINGS, IDC_VIEWPOINT_GROUP);
    ASSERT_NE(clock, nullptr);
    ASSERT_TRUE(WaitUntilIdle(clock));
    EXPECT_FALSE(Checked(clock, IDC_NIGHT_SHADOW)) << "the click outlived Cancel";
    EXPECT_TRUE(Checked(clock, IDC_VIEW_FROM_SUN));
    Press(clock, IDCANCEL);
    ASSERT_TRUE(Gone(clock));
    stop();
    EXPECT_EQ(ReadOptions(optionsPath()).displayFlags & kShowNightShadow, 0u);
}

// Whether `control` is a check box or a radio button.
bool IsCheckOrRadio(HWND control) {
    char name[16] = {};
    GetClassNameA(control, name, sizeof name);
    const LONG type = GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK;  // from BS_CHECKBOX to BS_AUTO3STATE: checks, radios
    return lstrcmpiA(name, "Button") == 0 && ((type >= BS_CHECKBOX && type <= BS_AUTO3STATE) || type == BS_AUTORADIOBUTTON);
}

// The visual style wine ships, switched on for the programs started meanwhile.
class ThemeOn {
public:
    ThemeOn() {
        for (Value& v : values_) {
            v.had = ReadRegistryValue(HKEY_CURRENT_USER, kKey, v.name, v.before);
            set(v.name, std::string(v.on) + '\0');
        }
    }
    ~ThemeOn() {
        for (const Value& v : values_) v.had ? set(v.name, v.before) : DeleteRegistryValue(HKEY_CURRENT_USER, kKey, v.name);
    }

private:
    static constexpr char kKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager";
    static void set(const char* name, const std::string& bytes) {
        RegSetKeyValueA(HKEY_CURRENT_USER, kKey, name, REG_SZ, bytes.data(), DWORD(bytes.size()));
    }
    struct Value {
        const char* name;
        const char* on;
        bool had;
        std::string before;
    };
    Value values_[2] = {{"ThemeActive", "1", false, {}},
                        {"DllName", "C:\\windows\\resources\\themes\\light\\light.msstyles", false, {}}};
};

// With visual styles, Windows draws themed check boxes and radio buttons in the theme's text
// colour, whatever the dialog sets: black on the skin's body. The dialogs take the style off
// them (wine draws them white either way), and only them. Each names itself for the taskbar.
TEST_F(SettingsDialogs, ChecksAndRadiosGoWithoutVisualStyles) {
    const ThemeOn theme;
    start();
    struct Case { UINT command; int control; const char* screenshot; const char* title; };
    for (const Case c : {Case{ID_CLOCK_SETTINGS, IDC_VIEWPOINT_GROUP, "clock-settings-themed.bmp", "Clock Settings"},
                         Case{ID_GENERAL_SETTINGS, IDC_WALLPAPER_GROUP, "general-settings-themed.bmp", "General Settings"}}) {
        HWND dialog = OpenDialogWith(hidden, c.command, c.control);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(WindowText(dialog), c.title) << "the name the taskbar and screen readers give it";
        KeepScreenshot(SettledCapture(dialog), c.screenshot);
        int checksAndRadios = 0, themed = 0;
        for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
            const bool checkOrRadio = IsCheckOrRadio(child);
            checksAndRadios += checkOrRadio;
            themed += !checkOrRadio && GetWindowTheme(child) != nullptr;
            if (checkOrRadio) {
                EXPECT_EQ(GetWindowTheme(child), nullptr) << WindowText(child);
            }
        }
        EXPECT_GE(checksAndRadios, 7);
        EXPECT_GT(themed, 0) << "the other controls keep the theme";
        Press(dialog, IDCANCEL);
        ASSERT_TRUE(Gone(dialog));
    }
    stop();
}

TEST_F(SettingsDialogs, GeneralSettingsStoreWhatIsShownAndRefuseHugeWallpapers) {
    options.wallpaperEnabled = 0;
    options.wallpaperMinutes = 10;
    start();
    HWND general = OpenDialogWith(frame, ID_GENERAL_SETTINGS, IDC_WALLPAPER_GROUP);
    ASSERT_NE(general, nullptr);
    EXPECT_EQ(GetWindow(general, GW_OWNER), frame);
    ASSERT_TRUE(WaitUntilIdle(general));
    KeepScreenshot(SettledCapture(general), "general-settings.bmp");
    EXPECT_EQ(ItemText(general, IDC_HOME_NAME_TEXT), "Orlando");
    EXPECT_EQ(ItemText(general, IDC_HOME_LATITUDE_TEXT), "28\xB0 33' 00\" N");
    EXPECT_EQ(ItemText(general, IDC_HOME_LONGITUDE_TEXT), "81\xB0 22' 48\" W");
    // A second General settings dialog, from the tray, ends at once.
    PostMessageA(hidden, WM_COMMAND, ID_GENERAL_SETTINGS, 0);
    EXPECT_TRUE(WaitUntilIdle(hidden));
    EXPECT_EQ(CountDialogsWith(IDC_WALLPAPER_GROUP), 1);
    EXPECT_NE(ItemText(general, IDC_GL_VERSION), "") << "the OpenGL driver's strings";
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(general, IDC_WALLPAPER_MINUTES)));
    Click(general, IDC_WALLPAPER_ENABLED);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(GetDlgItem(general, IDC_WALLPAPER_MINUTES)) != 0; }, 5000));
    Type(general, IDC_WALLPAPER_MINUTES, "");
    EXPECT_EQ(ItemText(general, IDC_WALLPAPER_MINUTES), "1") << "an emptied field holds 1 at once";
    Type(general, IDC_WALLPAPER_MINUTES, "45");

    const std::vector<char> stored = ReadBinaryFile(optionsPath());
    Type(general, IDC_WALLPAPER_WIDTH, "99999");
    Type(general, IDC_WALLPAPER_HEIGHT, "99999");
    Press(general, IDOK);
    EXPECT_TRUE(DismissMessageBox()) << "the refusal is explained";
    EXPECT_TRUE(IsWindow(general));
    EXPECT_EQ(ReadBinaryFile(optionsPath()), stored);
    // The size fields follow "Use full desktop size" (checked here) through a refusal too: the
    // focus goes to the box, which must be cleared to mend the size.
    HWND width = GetDlgItem(general, IDC_WALLPAPER_WIDTH), height = GetDlgItem(general, IDC_WALLPAPER_HEIGHT);
    ASSERT_TRUE(Checked(general, IDC_WALLPAPER_FULL_DESKTOP));
    EXPECT_TRUE(WaitUntil([&] { return FocusOf(general) == GetDlgItem(general, IDC_WALLPAPER_FULL_DESKTOP); }, 5000));
    EXPECT_TRUE(WaitUntilIdle(general));
    EXPECT_FALSE(IsWindowEnabled(width));
    EXPECT_FALSE(IsWindowEnabled(height));
    Click(general, IDC_WALLPAPER_FULL_DESKTOP);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(width) && IsWindowEnabled(height); }, 5000));
    Press(general, IDOK);
    EXPECT_TRUE(DismissMessageBox());
    EXPECT_TRUE(WaitUntil([&] { return FocusOf(general) == width; }, 5000)) << "the width to mend";
    Click(general, IDC_WALLPAPER_FULL_DESKTOP);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowEnabled(width) && !IsWindowEnabled(height); }, 5000));
    EXPECT_EQ(ReadBinaryFile(optionsPath()), stored);

    Type(general, IDC_WALLPAPER_WIDTH, "1024");
    Type(general, IDC_WALLPAPER_HEIGHT, "768");
    // The monitors' choice counts for the full desktop size only, so it follows the box.
    HWND monitors = GetDlgItem(general, IDC_WALLPAPER_MONITORS);
    EXPECT_TRUE(IsWindowEnabled(monitors));
    EXPECT_EQ(SendMessageA(monitors, CB_GETCURSEL, 0, 0), 0) << "the same view on every monitor";
    SendMessageA(monitors, CB_SETCURSEL, 1, 0);
    Click(general, IDC_WALLPAPER_FULL_DESKTOP);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowEnabled(monitors); }, 5000));
    Click(general, IDC_WALLPAPER_FULL_DESKTOP);
    Press(general, IDOK);
    ASSERT_TRUE(Gone(general));
    const UserOptions saved = ReadOptions(optionsPath());
    EXPECT_EQ(saved.wallpaperEnabled, 1);
    EXPECT_EQ(saved.wallpaperMinutes, 30);
    EXPECT_EQ(saved.wallpaperWidth, 1024);
    EXPECT_EQ(saved.wallpaperHeight, 768);
    EXPECT_EQ(saved.wallpaperAcrossMonitors, 1);
    expectOnlyChanged({{offsetof(UserOptions, wallpaperEnabled), 1},
                       {offsetof(UserOptions, wallpaperAcrossMonitors), 1},
                       {offsetof(UserOptions, wallpaperMinutes), 12}});
    EXPECT_TRUE(WaitUntil([&] { return PathExists(folder.path("Solvane.bmp")); }, 30000)) << "a wallpaper at once";
    // Saved without a new OpenGL choice: the earth clock window stays as it is.
    EXPECT_TRUE(WaitUntilIdle(hidden));
    EXPECT_TRUE(IsWindow(frame));
    EXPECT_EQ(FindWindowA("#32770", "Restart Main Window"), nullptr);
    stop();
    // Started again from what was saved, the choice shows, and stays byte for byte.
    const std::vector<char> savedBytes = ReadBinaryFile(optionsPath());
    options = ReadOptions(optionsPath());
    start();
    general = OpenDialogWith(hidden, ID_GENERAL_SETTINGS, IDC_WALLPAPER_GROUP);
    ASSERT_NE(general, nullptr);
    EXPECT_EQ(SendDlgItemMessageA(general, IDC_WALLPAPER_MONITORS, CB_GETCURSEL, 0, 0), 1) << "after a restart";
    Press(general, IDCANCEL);
    ASSERT_TRUE(Gone(general));
    stop();
    EXPECT_EQ(ReadBinaryFile(optionsPath()), savedBytes);
}

// The autostart value's bytes, or "<missing>".
std::string RunValue() {
    std::string bytes;
    if (!ReadRegistryValue(HKEY_CURRENT_USER, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", "Solvane", bytes)) {
        return "<missing>";
    }
    return bytes;
}

// Presses Tab until control `id` has the focus; false when it never does.
bool TabTo(HWND dialog, int id) {
    SetForegroundWindow(dialog);
    for (int i = 0; i < 40; ++i) {
        if (WaitUntil([&] { return FocusOf(dialog) == GetDlgItem(dialog, id); }, 300)) return true;
        SendKey(VK_TAB);
    }
    return false;
}

// Each display box stands for its own flag: in four patterns that give every box a code of
// its own, the dialog shows box by box what the record holds, and a click on one box saves
// exactly that flag's change.
TEST_F(SettingsDialogs, EachDisplayBoxShowsAndSetsItsOwnFlag) {
    const std::pair<int, uint32_t> boxes[] = {
        {IDC_NIGHT_SHADOW, kShowNightShadow},   {IDC_URBAN_LIGHTING, kUrbanLighting},
        {IDC_REALISTIC_TERMINATOR, kRealisticTerminator}, {IDC_SIMULATED_CLOUDS, kSimulatedClouds},
        {IDC_SHOW_SUN, kShowSun},               {IDC_SHOW_MOON, kShowMoon},
        {IDC_LOCAL_24_HOUR, kLocalTime24Hour},  {IDC_SHOW_TIME_ZONE, kShowTimeZone},
        {IDC_SHOW_GRID, kShowGrid},             {IDC_HIGHLIGHT_HOME, kHighlightHome}};
    uint32_t all = 0;
    for (const auto& box : boxes) all |= box.second;
    const uint32_t others = options.displayFlags & ~all;
    for (int bit = 0; bit < 4; ++bit) {
        uint32_t pattern = 0;
        for (std::size_t i = 0; i < std::size(boxes); ++i) {
            if ((i >> bit) & 1) pattern |= boxes[i].second;
        }
        options.displayFlags = others | pattern;
        start();
        HWND clock = OpenDialogWith(hidden, ID_CLOCK_SETTINGS, IDC_VIEWPOINT_GROUP);
        ASSERT_NE(clock, nullptr);
        for (const auto& box : boxes) {
            EXPECT_EQ(Checked(clock, box.first), (pattern & box.second) != 0) << "box " << box.first << ", pattern " << bit;
        }
        Click(clock, IDC_SHOW_MOON);
        ASSERT_TRUE(WaitUntil([&] { return Checked(clock, IDC_SHOW_MOON) == !(pattern & kShowMoon); }, 5000));
        Press(clock, IDOK);
        ASSERT_TRUE(Gone(clock));
        EXPECT_EQ(ReadOptions(optionsPath()).displayFlags, options.displayFlags ^ kShowMoon) << "pattern " << bit;
        stop();
    }
}

// The keyboard alone, as a user who never takes the mouse: Enter or Space on a focused Cancel
// leaves without saving, Enter in a field saves, Escape cancels, Alt+letter picks a radio
// button, and a Tab visits each radio group once.
TEST_F(SettingsDialogs, KeysPressTheFocusedButton) {
    options.startWithWindows = 1;
    start();
    const std::string run = RunValue();
    const std::vector<char> stored = ReadBinaryFile(optionsPath());
    for (WORD key : {VK_RETURN, VK_SPACE}) {
        HWND home = OpenDialogWith(hidden, ID_HOME_LOCATION, IDC_LOCATION_NAME);
        ASSERT_NE(home, nullptr);
        Type(home, IDC_LOCATION_NAME, "Typed");
        ASSERT_TRUE(TabTo(home, IDCANCEL));
        SendKey(key);
        ASSERT_TRUE(Gone(home)) << "key " << key;
        EXPECT_EQ(ReadBinaryFile(optionsPath()), stored) << "key " << key;
    }
    // General opens with the focus on Change...: Enter at once presses it (Home Location opens
    // over General, nothing saved); Escape leaves each; then Tab to Cancel and Enter keep
    // everything, the autostart value too.
    HWND general = OpenDialogWith(hidden, ID_GENERAL_SETTINGS, IDC_WALLPAPER_GROUP);
    ASSERT_NE(general, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return FocusOf(general) == GetDlgItem(general, IDC_CHANGE_HOME); }, 5000));
    SetForegroundWindow(general);
    SendKey(VK_RETURN);
    HWND nested = WaitForDialogWith(IDC_LOCATION_NAME);
    ASSERT_NE(nested, nullptr) << "Enter pressed Change...";
    EXPECT_TRUE(IsWindow(general));
    SetForegroundWindow(nested);
    SendKey(VK_ESCAPE);
    ASSERT_TRUE(Gone(nested));
    SetForegroundWindow(general);
    SendKey(VK_ESCAPE);
    ASSERT_TRUE(Gone(general));
    EXPECT_EQ(ReadBinaryFile(optionsPath()), stored);
    general = OpenDialogWith(hidden, ID_GENERAL_SETTINGS, IDC_WALLPAPER_GROUP);
    ASSERT_NE(general, nullptr);
    ASSERT_TRUE(TabTo(general, IDCANCEL));
    SendKey(VK_RETURN);
    ASSERT_TRUE(Gone(general));
    EXPECT_EQ(ReadBinaryFile(optionsPath()), stored);
    EXPECT_EQ(RunValue(), run) << "the autostart value as it was";

    // Clock settings: one Tab stop per radio group; Alt+U picks User Oriented; Enter in the
    // dialog saves.
    HWND clock = OpenDialogWith(hidden, ID_CLOCK_SETTINGS, IDC_VIEWPOINT_GROUP);
    ASSERT_NE(clock, nullptr);
    ASSERT_TRUE(TabTo(clock, IDC_NIGHT_SHADOW));
    std::set<HWND> radios;
    for (int i = 0; i < 30; ++i) {
        const HWND before = FocusOf(clock);
        SendKey(VK_TAB);
        ASSERT_TRUE(WaitUntil([&] { return FocusOf(clock) != before; }, 5000));
        char name[32] = "";
        HWND focus = FocusOf(clock);
        GetClassNameA(focus, name, sizeof name);
        if ((GetWindowLongA(focus, GWL_STYLE) & BS_TYPEMASK) == BS_AUTORADIOBUTTON && std::string(name) == "Button") {
            EXPECT_TRUE(radios.insert(focus).second) << "a radio visited twice in one round";
        }
        if (focus == GetDlgItem(clock, IDC_NIGHT_SHADOW)) break;
    }
    EXPECT_EQ(radios.size(), 2u) << "the viewpoint and the highlighted time";
    SetForegroundWindow(clock);
    INPUT alt[4] = {};
    for (INPUT& in : alt) in.type = INPUT_KEYBOARD;
    alt[0].ki.wVk = alt[3].ki.wVk = VK_MENU;
    alt[1].ki.wVk = alt[2].ki.wVk = 'U';
    alt[2].ki.dwFlags = alt[3].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(4, alt, sizeof(INPUT));
    EXPECT_TRUE(WaitUntil([&] { return Checked(clock, IDC_VIEW_MOUSE); }, 5000)) << "Alt+U";
    ASSERT_TRUE(TabTo(clock, IDC_NIGHT_SHADOW));
    SendKey(VK_RETURN);
    ASSERT_TRUE(Gone(clock));
    EXPECT_EQ(ReadOptions(optionsPath()).viewpoint, kViewMouseDrag);
    stop();
}

// A new OpenGL choice restarts the earth clock window, once no dialog it owns is open; where
// the display offers no accelerated format the box is disabled instead.
TEST_F(SettingsDialogs, ANewOpenGLChoiceRestartsTheEarthClockWindow) {
    HDC screen = GetDC(nullptr);
    const bool accelerated = hasAcceleratedFormat(screen);
    ReleaseDC(nullptr, screen);
    start();
    HWND home = OpenDialogWith(frame, ID_HOME_LOCATION, IDC_LOCATION_NAME);
    ASSERT_NE(home, nullptr);
    HWND general = OpenDialogWith(hidden, ID_GENERAL_SETTINGS, IDC_WALLPAPER_GROUP);
    ASSERT_NE(general, nullptr);
    ASSERT_TRUE(WaitUntilIdle(general));
    HWND hardware = GetDlgItem(general, IDC_USE_HARDWARE);
    EXPECT_EQ(IsWindowEnabled(hardware) != 0, accelerated);
    if (!accelerated) {
        Press(general, IDCANCEL);
        Press(home, IDCANCEL);
        ASSERT_TRUE(Gone(general) && Gone(home));
        stop();
        return;
    }
    const bool wasOn = Checked(general, IDC_USE_HARDWARE);
    Click(general, IDC_USE_HARDWARE);
    ASSERT_TRUE(WaitUntil([&] { return Checked(general, IDC_USE_HARDWARE) != wasOn; }, 5000));
    Press(general, IDOK);
    ASSERT_TRUE(Gone(general));
    EXPECT_EQ(ReadOptions(optionsPath()).useHardware3D, wasOn ? 0 : 1);
    // The Home Location dialog the window owns stays, with what was typed in it.
    Type(home, IDC_LOCATION_NAME, "Typed meanwhile");
    EXPECT_TRUE(WaitUntilIdle(hidden));
    EXPECT_TRUE(IsWindow(home));
    EXPECT_EQ(ItemText(home, IDC_LOCATION_NAME), "Typed meanwhile");
    EXPECT_EQ(FindWindowA("#32770", "Restart Main Window"), nullptr);
    Press(home, IDCANCEL);
    ASSERT_TRUE(Gone(home));
    HWND notice = WaitForWindow("Restart Main Window", 10000, "#32770");
    ASSERT_NE(notice, nullptr);
    EXPECT_FALSE(IsWindow(frame)) << "the old window is gone before the notice";
    PostMessageA(notice, WM_COMMAND, IDOK, 0);
    HWND renewed = WaitForWindow(nullptr, 20000, "SolvaneEarthFrame");
    ASSERT_NE(renewed, nullptr);
    stop();
}

}  // namespace
