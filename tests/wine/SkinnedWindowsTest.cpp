// The skinned look in the real solvane.exe: the About window and its program information
// dialog, buttons that show their hover and pressed faces, dialogs dragged by their band, and
// the notices on the dark band and light body.
#include "EarthClockFixture.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

constexpr COLORREF kBand = RGB(0, 2, 22), kBody = RGB(83, 84, 105);

int CountWindows(const char* className) {
    int count = 0;
    for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, className, nullptr)) != nullptr;) ++count;
    return count;
}

// A button's face outside its focus rectangle (which a pressed button keeps): the outer 3 pixels.
std::vector<uint8_t> Rim(HWND button) {
    const Capture c = CaptureWindow(button);
    std::vector<uint8_t> rim;
    for (int y = 0; y < c.height; ++y) {
        for (int x = 0; x < c.width; ++x) {
            if (x < 3 || y < 3 || x >= c.width - 3 || y >= c.height - 3) rim.insert(rim.end(), c.at(x, y), c.at(x, y) + 4);
        }
    }
    return rim;
}

class SkinnedWindows : public EarthClockTest {
protected:
    HWND openAbout() {
        PostMessageA(hidden, WM_COMMAND, ID_APP_ABOUT, 0);
        HWND about = nullptr;
        WaitUntil([&] { return (about = FindWindowA("SolvaneAbout", "About Solvane")) != nullptr && IsWindowVisible(about); }, 10000);
        return about;
    }
};

TEST_F(SkinnedWindows, AboutOpensOnceCentredAndShowsTheProgramInformation) {
    start();
    HWND about = openAbout();
    ASSERT_NE(about, nullptr);
    RECT r, work;
    GetWindowRect(about, &r);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(r.right - r.left, 640);
    EXPECT_EQ(r.bottom - r.top, 480);
    EXPECT_NEAR((r.left + r.right) / 2, (work.left + work.right) / 2, 2);
    EXPECT_NEAR((r.top + r.bottom) / 2, (work.top + work.bottom) / 2, 2);
    // From the menu bar's command as well: still the one window, in front.
    SetForegroundWindow(frame);
    PostMessageA(frame, WM_COMMAND, ID_APP_ABOUT, 0);
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == about; }, 5000));
    EXPECT_EQ(CountWindows("SolvaneAbout"), 1);
    KeepScreenshot(CaptureWindow(about), "about.bmp");

    PostMessageA(about, WM_COMMAND, MAKEWPARAM(IDC_ABOUT_INFO, BN_CLICKED), 0);
    HWND info = WaitForDialogWith(IDC_CREDITS_GROUP);
    ASSERT_NE(info, nullptr) << "the program information dialog";
    ASSERT_TRUE(WaitUntil([&] { return ScreenPixel(info, 5, 30) == kBody; }, 5000)) << "painted";
    KeepScreenshot(CaptureWindow(info), "program-information.bmp");
    const std::vector<std::string> texts = StaticTexts(info);
    EXPECT_NE(std::find(texts.begin(), texts.end(), "Version " SOLVANE_VERSION_TEXT), texts.end());
    RECT client;
    GetClientRect(info, &client);
    EXPECT_EQ(ScreenPixel(info, client.right - 3, 3), kBand) << "the band beyond the banner";

    // Dragged by its band, not by its body.
    EXPECT_FALSE(DragWindow(info, 4, client.bottom / 2, 1000)) << "the body (its left margin) does not drag";
    // Synthetic input under wine now and then loses a press: the band gets a few tries.
    EXPECT_TRUE(WaitUntil([&] { return DragWindow(info, client.right - 20, 10, 2000); }, 10000)) << "the band drags";

    PostMessageA(info, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(info); }, 5000));
    // Escape closes it, as it closes a dialog.
    SetForegroundWindow(about);
    WaitUntil([&] { return GetForegroundWindow() == about; }, 5000);
    SendKey(VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([&] { return FindWindowA("SolvaneAbout", nullptr) == nullptr; }, 5000));
    stop();
}

TEST_F(SkinnedWindows, ButtonsShowTheirHoverAndPressedFaces) {
    start();
    HWND about = openAbout();
    ASSERT_NE(about, nullptr);
    HWND close = GetDlgItem(about, IDC_ABOUT_CLOSE);
    ASSERT_NE(close, nullptr);
    RECT face;
    GetClientRect(close, &face);
    EXPECT_EQ(face.right, 100) << "one face of the strip";
    EXPECT_EQ(face.bottom, 40);
    MoveMouse(about, 10, 10);  // away from the buttons
    // The window can be shown before the button's first face reaches the screen: painted now,
    // the normal face is the one that stays.
    RedrawWindow(close, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    std::vector<uint8_t> normal = Rim(close);
    ASSERT_TRUE(WaitUntil([&] {
        const std::vector<uint8_t> again = Rim(close);
        const bool settled = again == normal;
        normal = again;
        return settled;
    }, 5000)) << "the normal face";

    POINT centre = {50, 20};
    MapWindowPoints(close, about, &centre, 1);
    MoveMouse(about, centre.x, centre.y);
    MoveMouse(about, centre.x + 1, centre.y);
    std::vector<uint8_t> hover;
    EXPECT_TRUE(WaitUntil([&] { return (hover = Rim(close)) != normal; }, 5000)) << "the hover face";
    MoveMouse(about, centre.x + 1, centre.y, MOUSEEVENTF_LEFTDOWN);
    EXPECT_TRUE(WaitUntil([&] { const auto p = Rim(close); return p != normal && p != hover; }, 5000))
        << "the pressed face, though the mouse is over it";
    // Away from the button while still pressed: the normal face (checked before the release, so
    // that the release cannot come first and click).
    EXPECT_TRUE(WaitUntil([&] {
        MoveMouse(about, 10, 10);
        return Rim(close) == normal;
    }, 5000)) << "the normal face once the mouse has left" << (Rim(close) == hover ? " (hover)" : " (other)");
    MoveMouse(about, 10, 10, MOUSEEVENTF_LEFTUP);  // let go away from the button: no click
    ASSERT_TRUE(WaitUntilIdle(about));
    EXPECT_EQ(Rim(close), normal);

    EXPECT_TRUE(IsWindow(about));
    stop();
}

TEST_F(SkinnedWindows, NoticesShowTheSkin) {
    start();
    HWND view = FindWindowExA(frame, nullptr, "SolvaneEarthView", nullptr);
    PostMessageA(view, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(100, 100));
    HWND notice = WaitForDialogWith(IDC_DONT_TELL_AGAIN);
    ASSERT_NE(notice, nullptr);
    RECT client;
    GetClientRect(notice, &client);
    ASSERT_TRUE(WaitUntil([&] { return ScreenPixel(notice, 4, client.bottom - 4) == kBody; }, 5000)) << "the body";
    EXPECT_EQ(ScreenPixel(notice, client.right - 3, 3), kBand) << "the band";
    RECT ok;
    GetClientRect(GetDlgItem(notice, IDOK), &ok);
    EXPECT_EQ(ok.right, 100) << "OK drawn from its faces";
    KeepScreenshot(CaptureWindow(notice), "full-screen-notice.bmp");
    PostMessageA(notice, WM_COMMAND, IDOK, 0);
    stop();
}

}  // namespace
