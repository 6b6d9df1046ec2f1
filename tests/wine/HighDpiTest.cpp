// The clock on a screen of 192 DPI (200 %): wine takes the DPI from the user's LogPixels when a
// program starts, as Windows gives a Per-Monitor aware program its monitor's. Dialogs, their
// pictures and the About window must come at twice their size, laid out as at 100 %.
#include "EarthClockFixture.h"
#include "saver/SaverResources.h"

#include <gtest/gtest.h>

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

class HighDpi : public EarthClockTest {
protected:
    void SetUp() override {
        EarthClockTest::SetUp();
        SetLogPixels(192);
    }
    void TearDown() override { SetLogPixels(96); }
};

// Every control of `dialog` lies inside its client area.
void ExpectControlsInside(HWND dialog) {
    RECT client;
    GetClientRect(dialog, &client);
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child)) continue;
        RECT r;
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
        EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= client.right && r.bottom <= client.bottom)
            << "control " << GetDlgCtrlID(child) << " at " << r.left << "," << r.top << "-" << r.right << "," << r.bottom;
    }
}

TEST_F(HighDpi, DialogsAndTheAboutWindowComeAtTwiceTheirSize) {
    ASSERT_TRUE(CopyFileA((DistFolder() + "\\servers.txt").c_str(), folder.path("servers.txt").c_str(), FALSE));
    options.noticeFlags |= kNoticeCloseToTray;
    start();
    HWND general = OpenDialogWith(hidden, ID_GENERAL_SETTINGS, IDC_WALLPAPER_GROUP);
    ASSERT_NE(general, nullptr);
    ExpectControlsInside(general);
    // The skinned buttons' 100 x 40 faces, drawn at 200 %.
    for (const int id : {IDOK, IDCANCEL, 1102}) {
        RECT r;
        GetWindowRect(GetDlgItem(general, id), &r);
        EXPECT_EQ(r.right - r.left, 200) << id;
        EXPECT_EQ(r.bottom - r.top, 80) << id;
    }
    // The dark band holding the banner is 52 pixels high.
    RECT client;
    GetClientRect(general, &client);
    ASSERT_TRUE(WaitUntil([&] { return ScreenPixel(general, client.right - 3, 50) == kBand; }, 5000));
    EXPECT_EQ(ScreenPixel(general, client.right - 3, 54), kBody);
    KeepScreenshot(SettledCapture(general), "general-settings-192dpi.bmp");
    PostMessageA(general, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), LPARAM(GetDlgItem(general, IDCANCEL)));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(general); }, 5000));

    HWND setClock = OpenDialogWith(hidden, ID_SET_CLOCK, IDC_OTHER_SERVER_NAME);
    ASSERT_NE(setClock, nullptr);
    ExpectControlsInside(setClock);
    KeepScreenshot(SettledCapture(setClock), "set-clock-192dpi.bmp");
    PostMessageA(setClock, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), LPARAM(GetDlgItem(setClock, IDCANCEL)));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(setClock); }, 5000));

    PostMessageA(hidden, WM_COMMAND, ID_APP_ABOUT, 0);
    HWND about = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (about = FindWindowA("SolvaneAbout", nullptr)) != nullptr && IsWindowVisible(about); }, 10000));
    RECT r;
    GetWindowRect(about, &r);
    EXPECT_EQ(r.right - r.left, 1280);
    EXPECT_EQ(r.bottom - r.top, 960);
    RECT close;
    GetWindowRect(GetDlgItem(about, IDC_ABOUT_CLOSE), &close);
    EXPECT_EQ(close.right - close.left, 200);
    EXPECT_LE(close.right, r.right) << "the buttons stay on the picture";
    KeepScreenshot(SettledCapture(about), "about-192dpi.bmp");
    PostMessageA(about, WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(about); }, 5000));
    // Lunar Phases: twice its size (wider than this 1280-pixel screen), its Close button on it
    // at twice its size.
    PostMessageA(hidden, WM_COMMAND, ID_MOON_PHASES, 0);
    HWND lunar = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (lunar = FindWindowA("SolvaneLunarPhases", nullptr)) != nullptr && IsWindowVisible(lunar); }, 15000));
    GetWindowRect(lunar, &r);
    EXPECT_EQ(r.right - r.left, 1400);
    EXPECT_EQ(r.bottom - r.top, 1000);
    GetWindowRect(GetDlgItem(lunar, 101), &close);
    EXPECT_EQ(close.right - close.left, 200);
    EXPECT_LE(close.bottom, r.bottom);
    PostMessageA(lunar, WM_COMMAND, MAKEWPARAM(101, BN_CLICKED), 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(lunar); }, 10000));

    // The earth clock window at least its doubled smallest size, the details pane doubled.
    RECT pane, window;
    GetWindowRect(FindWindowExA(frame, nullptr, "SolvaneDataPane", nullptr), &pane);
    GetWindowRect(frame, &window);
    EXPECT_EQ(pane.bottom - pane.top, 318);
    EXPECT_GE(window.right - window.left, 1160);
    KeepScreenshot(SettledCapture(frame), "earth-clock-192dpi.bmp");

    // Closing the window reminds of the tray with its picture at twice its size.
    PostMessageA(frame, WM_CLOSE, 0, 0);
    HWND reminder = WaitForDialogWith(IDC_DONT_TELL_AGAIN);
    ASSERT_NE(reminder, nullptr);
    RECT picture;
    GetWindowRect(GetDlgItem(reminder, IDC_NOTICE_PICTURE), &picture);
    EXPECT_EQ(picture.right - picture.left, 428);
    ExpectControlsInside(reminder);
    KeepScreenshot(SettledCapture(reminder), "tray-reminder-192dpi.bmp");
    PostMessageA(reminder, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(reminder); }, 5000));
    stop();

    // The screen saver's settings: its 229 x 123 picture at twice its size, inside its frame.
    ASSERT_TRUE(CopyFileA((DistFolder() + "\\svsaver.scr").c_str(), folder.path("svsaver.scr").c_str(), FALSE));
    RunningProgram saver(folder.path("svsaver.scr"), "/c");
    HWND settings = WaitForWindow("Solvane Screen Saver", 15000, "#32770");
    ASSERT_NE(settings, nullptr);
    ASSERT_TRUE(WaitUntilIdle(settings));
    RECT inner, outer;
    GetClientRect(GetDlgItem(settings, IDC_SAVER_PICTURE), &inner);
    EXPECT_EQ(inner.right, 458);
    EXPECT_EQ(inner.bottom, 246);
    GetWindowRect(GetDlgItem(settings, IDC_SAVER_PICTURE), &inner);
    GetWindowRect(GetDlgItem(settings, IDC_SAVER_PICTURE_FRAME), &outer);
    EXPECT_TRUE(outer.left < inner.left && outer.right > inner.right && outer.bottom > inner.bottom);
    ExpectControlsInside(settings);
    KeepScreenshot(SettledCapture(settings), "screen-saver-settings-192dpi.bmp");
    PostMessageA(settings, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(saver.waitForExit(10000));
}

}  // namespace
