// The clock on screens of 144 and 192 DPI (150 and 200 %): wine takes the DPI from the user's
// LogPixels when a program starts, as Windows gives a Per-Monitor aware program its monitor's.
// Windows, dialogs and their pictures must come at 1.5 and 2 times their size, laid out as at
// 100 %.
#include "EarthClockFixture.h"
#include "saver/SaverResources.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

namespace {

constexpr COLORREF kBand = RGB(0, 2, 22), kBody = RGB(83, 84, 105);

void SetLogPixels(DWORD dpi) {
    HKEY desktop = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &desktop,
                        nullptr) != ERROR_SUCCESS) {
        return;
    }
    RegSetValueExA(desktop, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
    RegCloseKey(desktop);
}

class HighDpi : public EarthClockTest, public testing::WithParamInterface<int> {
protected:
    void SetUp() override {
        EarthClockTest::SetUp();
        // The test reads the programs' windows in the screen's own pixels, not scaled for a
        // program that knows nothing of DPI (at 96 DPI, where the other tests run, the same).
        SetProcessDPIAware();
        SetLogPixels(DWORD(GetParam()));
    }
    void TearDown() override { SetLogPixels(96); }
    // A length of `pixels` at 96 DPI, at the test's DPI.
    int at(int pixels) const { return MulDiv(pixels, GetParam(), 96); }
    std::string shot(const std::string& name) const { return name + "-" + std::to_string(GetParam()) + "dpi.bmp"; }
};

RECT PlaceIn(HWND dialog, HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// Group boxes (the skinned ones draw themselves, a button type of their own) and frames are
// drawn around other controls, and an up-down sits on its edit's border; the rest must not
// overlap.
bool MayOverlap(HWND control) {
    char name[32] = {};
    GetClassNameA(control, name, sizeof name);
    if (lstrcmpiA(name, UPDOWN_CLASSA) == 0) return true;
    const LONG style = GetWindowLongA(control, GWL_STYLE);
    if (lstrcmpiA(name, "Button") == 0) return (style & BS_TYPEMASK) == BS_GROUPBOX || (style & BS_TYPEMASK) == BS_TYPEMASK;
    const LONG type = style & SS_TYPEMASK;
    return lstrcmpiA(name, "Static") == 0 && (type == SS_ETCHEDFRAME || type == SS_BLACKFRAME ||
                                              type == SS_GRAYFRAME || type == SS_ETCHEDHORZ);
}

// Whether the text Windows draws in `control` (a label, a check box, a push button) fits it in
// `font`: on one line where it cannot wrap, in its height where it can.
bool TextFits(HWND control, HFONT font, int dpi, std::string* why) {
    char name[32] = {}, text[512] = {};
    GetClassNameA(control, name, sizeof name);
    if (GetWindowTextA(control, text, sizeof text) == 0) return true;
    const LONG style = GetWindowLongA(control, GWL_STYLE);
    RECT client;
    GetClientRect(control, &client);
    RECT needed = {0, 0, client.right, 0};
    bool wraps = true;
    if (lstrcmpiA(name, "Button") == 0) {
        const LONG type = style & BS_TYPEMASK;
        if (type == BS_OWNERDRAW || type == BS_GROUPBOX) return true;
        const bool box = type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON ||
                         type == BS_AUTORADIOBUTTON || type == BS_AUTO3STATE;
        if (box) needed.right -= MulDiv(16, dpi, 96);  // the box and the gap after it
        wraps = (style & BS_MULTILINE) != 0;
    } else if (lstrcmpiA(name, "Static") == 0) {
        const LONG type = style & SS_TYPEMASK;
        if (type != SS_LEFT && type != SS_CENTER && type != SS_RIGHT && type != SS_LEFTNOWORDWRAP) return true;
        wraps = type != SS_LEFTNOWORDWRAP;
    } else {
        return true;
    }
    const int width = needed.right;
    HDC dc = GetDC(nullptr);
    const HGDIOBJ old = SelectObject(dc, font);
    DrawTextA(dc, text, -1, &needed, DT_CALCRECT | (wraps ? DT_WORDBREAK : DT_SINGLELINE));
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    *why = std::string(text) + ": needs " + std::to_string(needed.right) + "x" + std::to_string(needed.bottom) + " in " +
           std::to_string(width) + "x" + std::to_string(client.bottom);
    return wraps ? needed.bottom <= client.bottom : needed.right <= width;
}

// Every control of `dialog` lies inside its client area, overlaps no other but the frames drawn
// around it, and its text fits it in the dialog's font (made here: a font is the program's own).
void ExpectLaidOut(HWND dialog, int dpi, const char* face = "MS Shell Dlg", int points = 8) {
    const HFONT font = CreateFontA(-MulDiv(points, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                   OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, face);
    RECT client;
    GetClientRect(dialog, &client);
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child)) continue;
        const RECT r = PlaceIn(dialog, child);
        EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= client.right && r.bottom <= client.bottom)
            << "control " << GetDlgCtrlID(child) << " of a client " << client.right << "x" << client.bottom
            << " at " << r.left << "," << r.top << "-" << r.right << "," << r.bottom;
        std::string why;
        EXPECT_TRUE(TextFits(child, font, dpi, &why)) << "the text of control " << GetDlgCtrlID(child) << ": " << why;
        if (MayOverlap(child)) continue;
        for (HWND other = GetWindow(child, GW_HWNDNEXT); other != nullptr; other = GetWindow(other, GW_HWNDNEXT)) {
            RECT both;
            const RECT o = PlaceIn(dialog, other);
            EXPECT_FALSE(IsWindowVisible(other) && !MayOverlap(other) && IntersectRect(&both, &r, &o))
                << "controls " << GetDlgCtrlID(child) << " and " << GetDlgCtrlID(other) << " overlap in " << both.left
                << "," << both.top << "-" << both.right << "," << both.bottom;
        }
    }
    DeleteObject(font);
}

// Checks the layout of `dialog`, keeps its picture as `name`, and closes it with `button`.
void WalkDialog(HWND dialog, const std::string& name, int dpi, int button = IDCANCEL) {
    ASSERT_NE(dialog, nullptr) << name;
    KeepScreenshot(SettledCapture(dialog), name.c_str());
    ExpectLaidOut(dialog, dpi);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), LPARAM(GetDlgItem(dialog, button)));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 5000)) << name;
}

TEST_P(HighDpi, WindowsDialogsAndPicturesComeAtTheirSizeForTheDpi) {
    for (const char* file : {"servers.txt", "USPlaces.bin", "WorldPlaces.bin"}) {
        ASSERT_TRUE(CopyFileA((DistFolder() + "\\" + file).c_str(), folder.path(file).c_str(), FALSE)) << file;
    }
    options.noticeFlags |= kNoticeCloseToTray;
    start();
    // Wine hands every program the screen's pixels, aware or not: the window's awareness shows
    // that the manifest took (DPI_AWARENESS_PER_MONITOR_AWARE; V2 is a context of that awareness).
    using WindowContext = HANDLE(WINAPI*)(HWND);
    using AwarenessOf = int(WINAPI*)(HANDLE);
    const HMODULE user = GetModuleHandleA("user32.dll");
    const auto contextOf = reinterpret_cast<WindowContext>(reinterpret_cast<void*>(GetProcAddress(user, "GetWindowDpiAwarenessContext")));
    const auto awarenessOf = reinterpret_cast<AwarenessOf>(reinterpret_cast<void*>(GetProcAddress(user, "GetAwarenessFromDpiAwarenessContext")));
    ASSERT_TRUE(contextOf != nullptr && awarenessOf != nullptr);
    EXPECT_EQ(awarenessOf(contextOf(frame)), 2) << "Per-Monitor aware";
    HWND general = OpenDialogWith(hidden, ID_GENERAL_SETTINGS, IDC_WALLPAPER_GROUP);
    ASSERT_NE(general, nullptr);
    // Its layout once painted (under wine at 144 DPI a dialog is first laid out for another
    // font and then settles).
    KeepScreenshot(SettledCapture(general), shot("general-settings").c_str());
    ExpectLaidOut(general, GetParam());
    // The skinned buttons' 100 x 40 faces, drawn at 150 or 200 %.
    for (const int id : {IDOK, IDCANCEL, 1102}) {
        RECT r;
        GetWindowRect(GetDlgItem(general, id), &r);
        EXPECT_EQ(r.right - r.left, at(100)) << id;
        EXPECT_EQ(r.bottom - r.top, at(40)) << id;
    }
    // The dark band holding the banner, 26 pixels high at 96 DPI.
    RECT client;
    GetClientRect(general, &client);
    ASSERT_TRUE(WaitUntil([&] { return ScreenPixel(general, client.right - 3, at(26) - 2) == kBand; }, 5000));
    EXPECT_EQ(ScreenPixel(general, client.right - 3, at(26) + 2), kBody);
    PostMessageA(general, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), LPARAM(GetDlgItem(general, IDCANCEL)));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(general); }, 5000));

    WalkDialog(OpenDialogWith(hidden, ID_CLOCK_SETTINGS, IDC_VIEWPOINT_GROUP), shot("clock-settings"), GetParam());
    HWND home = OpenDialogWith(hidden, ID_HOME_LOCATION, IDC_LOCATION_NAME);
    PostMessageA(home, WM_COMMAND, MAKEWPARAM(IDC_US_LOOKUP, BN_CLICKED), LPARAM(GetDlgItem(home, IDC_US_LOOKUP)));
    WalkDialog(WaitForDialogWith(IDC_PLACES_GROUP), shot("us-places"), GetParam());
    WalkDialog(home, shot("home-location"), GetParam());
    WalkDialog(OpenDialogWith(hidden, ID_SET_CLOCK, IDC_OTHER_SERVER_NAME), shot("set-clock"), GetParam());

    PostMessageA(hidden, WM_COMMAND, ID_APP_ABOUT, 0);
    HWND about = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (about = FindWindowA("SolvaneAbout", nullptr)) != nullptr && IsWindowVisible(about); }, 10000));
    RECT r;
    GetWindowRect(about, &r);
    EXPECT_EQ(r.right - r.left, at(640));
    EXPECT_EQ(r.bottom - r.top, at(480));
    RECT close;
    GetWindowRect(GetDlgItem(about, IDC_ABOUT_CLOSE), &close);
    EXPECT_EQ(close.right - close.left, at(100));
    EXPECT_LE(close.right, r.right) << "the buttons stay on the picture";
    KeepScreenshot(SettledCapture(about), shot("about").c_str());
    ExpectLaidOut(about, GetParam());
    PostMessageA(about, WM_COMMAND, MAKEWPARAM(IDC_ABOUT_INFO, BN_CLICKED), 0);
    WalkDialog(WaitForDialogWith(IDC_CREDITS_GROUP), shot("program-information"), GetParam(), IDOK);
    PostMessageA(about, WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(about); }, 5000));
    // Lunar Phases at its size for the DPI (at 200 % wider than this 1280-pixel screen, so seen
    // at 150 % only), its Close button on it.
    PostMessageA(hidden, WM_COMMAND, ID_MOON_PHASES, 0);
    HWND lunar = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (lunar = FindWindowA("SolvaneLunarPhases", nullptr)) != nullptr && IsWindowVisible(lunar); }, 15000));
    GetWindowRect(lunar, &r);
    EXPECT_EQ(r.right - r.left, at(700));
    EXPECT_EQ(r.bottom - r.top, at(500));
    EXPECT_TRUE(r.left >= 0 && r.top >= 0) << "its banner on the screen, however wide it is";
    ExpectLaidOut(lunar, GetParam());
    GetWindowRect(GetDlgItem(lunar, 101), &close);
    EXPECT_EQ(close.right - close.left, at(100));
    EXPECT_LE(close.bottom, r.bottom);
    if (r.right - r.left <= GetSystemMetrics(SM_CXSCREEN)) {
        KeepScreenshot(SettledCaptureOutside(lunar, {at(370), at(40), at(680), at(240)}), shot("lunar-phases").c_str());
    }
    PostMessageA(lunar, WM_COMMAND, MAKEWPARAM(101, BN_CLICKED), 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(lunar); }, 10000));

    // World Clock at its size for the DPI, its controls laid out in its own font.
    PostMessageA(hidden, WM_COMMAND, ID_WORLD_CLOCK, 0);
    HWND world = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (world = FindWindowA("SolvaneWorldClock", nullptr)) != nullptr && IsWindowVisible(world); }, 15000));
    GetClientRect(world, &r);
    EXPECT_EQ(r.right, at(760));
    EXPECT_EQ(r.bottom, at(470));
    ExpectLaidOut(world, GetParam(), "Arial", 10);
    if (r.right <= GetSystemMetrics(SM_CXSCREEN)) KeepScreenshot(SettledCapture(world), shot("world-clock").c_str());
    PostMessageA(world, WM_COMMAND, MAKEWPARAM(IDC_WORLD_CLOSE, BN_CLICKED), 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(world); }, 10000));

    // The earth clock window at least its smallest size for the DPI, the details pane too.
    RECT pane, window;
    GetWindowRect(FindWindowExA(frame, nullptr, "SolvaneDataPane", nullptr), &pane);
    GetWindowRect(frame, &window);
    EXPECT_EQ(pane.bottom - pane.top, at(159));
    EXPECT_GE(window.right - window.left, at(580));
    KeepScreenshot(SettledCapture(frame), shot("earth-clock").c_str());

    // Closing the window reminds of the tray with its picture at its size for the DPI.
    PostMessageA(frame, WM_CLOSE, 0, 0);
    HWND reminder = WaitForDialogWith(IDC_DONT_TELL_AGAIN);
    ASSERT_NE(reminder, nullptr);
    RECT picture;
    GetWindowRect(GetDlgItem(reminder, IDC_NOTICE_PICTURE), &picture);
    EXPECT_EQ(picture.right - picture.left, at(214));
    RECT box;
    GetWindowRect(GetDlgItem(reminder, IDC_DONT_TELL_AGAIN), &box);
    EXPECT_GE(box.top, picture.bottom) << "the check box under the picture, not on it";
    KeepScreenshot(SettledCapture(reminder), shot("tray-reminder").c_str());
    ExpectLaidOut(reminder, GetParam());
    PostMessageA(reminder, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(reminder); }, 5000));
    stop();

    // The screen saver's settings: its 229 x 123 picture at its size for the DPI, inside its frame.
    ASSERT_TRUE(CopyFileA((DistFolder() + "\\svsaver.scr").c_str(), folder.path("svsaver.scr").c_str(), FALSE));
    RunningProgram saver(folder.path("svsaver.scr"), "/c");
    HWND settings = WaitForWindow("Solvane Screen Saver", 15000, "#32770");
    ASSERT_NE(settings, nullptr);
    ASSERT_TRUE(WaitUntilIdle(settings));
    RECT inner, outer;
    GetClientRect(GetDlgItem(settings, IDC_SAVER_PICTURE), &inner);
    EXPECT_EQ(inner.right, at(229));
    EXPECT_EQ(inner.bottom, at(123));
    GetWindowRect(GetDlgItem(settings, IDC_SAVER_PICTURE), &inner);
    GetWindowRect(GetDlgItem(settings, IDC_SAVER_PICTURE_FRAME), &outer);
    EXPECT_TRUE(outer.left < inner.left && outer.right > inner.right && outer.bottom > inner.bottom);
    KeepScreenshot(SettledCapture(settings), shot("screen-saver-settings").c_str());
    ExpectLaidOut(settings, GetParam(), "Arial", 9);
    PostMessageA(settings, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(saver.waitForExit(10000));
}

INSTANTIATE_TEST_SUITE_P(OneAndAHalfAndTwice, HighDpi, testing::Values(96, 144, 192),
                         [](const testing::TestParamInfo<int>& info) { return "Dpi" + std::to_string(info.param); });

}  // namespace
