// The earth clock window of the real solvane.exe: stored rectangle, full screen and back with
// its notice, and the context menu changing and saving the options.
#include "ProgramHarness.h"

#include "app/UserOptions.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

UserOptions ReadOptions(const std::string& path) {
    UserOptions o = {};
    const std::vector<char> bytes = ReadBinaryFile(path);
    if (bytes.size() == sizeof o) std::memcpy(&o, bytes.data(), sizeof o);
    return o;
}

class EarthFrameTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(CountProcesses("solvane.exe"), 0);
        SetDefaultOptions(options);
        options.hideSplash = 1;
        options.startWithWindows = 0;
        options.frameLeft = 40, options.frameTop = 30, options.frameRight = 640, options.frameBottom = 560;
    }
    void start() {
        const char* bytes = reinterpret_cast<const char*>(&options);
        ASSERT_TRUE(WriteBinaryFile(folder.path("user.bin"), std::vector<char>(bytes, bytes + sizeof options)));
        program = std::make_unique<RunningProgram>(folder.path("solvane.exe"));
        frame = WaitForWindow(nullptr, 20000, "SolvaneEarthFrame");
        ASSERT_NE(frame, nullptr);
        ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(frame) && FindWindowExA(frame, nullptr, "SolvaneDataPane", nullptr); }, 10000));
        hidden = FindWindowA(nullptr, "Solvane Hidden Window");
    }
    void stop() {
        PostMessageA(hidden, WM_COMMAND, ID_APP_EXIT, 0);
        ASSERT_TRUE(program->waitForExit(15000));
    }
    UserOptions options;
    InstallFolder folder;
    std::unique_ptr<RunningProgram> program;
    HWND frame = nullptr, hidden = nullptr;
};

TEST_F(EarthFrameTest, OpensAtTheStoredRectangleAndRemembersMoves) {
    start();
    RECT r;
    GetWindowRect(frame, &r);
    EXPECT_EQ(r.left, 40);
    EXPECT_EQ(r.top, 30);
    EXPECT_EQ(r.right - r.left, 600);
    EXPECT_EQ(r.bottom - r.top, 530);
    HWND pane = FindWindowExA(frame, nullptr, "SolvaneDataPane", nullptr);
    RECT paneRect, client;
    GetClientRect(pane, &paneRect);
    GetClientRect(frame, &client);
    EXPECT_EQ(paneRect.bottom, 159);
    EXPECT_EQ(paneRect.right, client.right);
    SetWindowPos(frame, nullptr, 100, 80, 700, 500, SWP_NOZORDER);
    Sleep(300);
    ShowWindow(frame, SW_MAXIMIZE);  // neither maximising nor minimising is remembered
    Sleep(300);
    ShowWindow(frame, SW_MINIMIZE);
    Sleep(300);
    stop();
    const UserOptions saved = ReadOptions(folder.path("user.bin"));
    EXPECT_EQ(saved.frameLeft, 100);
    EXPECT_EQ(saved.frameTop, 80);
    EXPECT_EQ(saved.frameRight, 800);
    EXPECT_EQ(saved.frameBottom, 580);
}

TEST_F(EarthFrameTest, FullScreenByDoubleClickAndBack) {
    start();
    HWND view = FindWindowExA(frame, nullptr, "SolvaneEarthView", nullptr);
    ASSERT_NE(view, nullptr);
    PostMessageA(view, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(100, 100));
    HWND notice = WaitForWindow("Solvane", 10000, "#32770");
    ASSERT_NE(notice, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return GetDlgItem(notice, IDC_DONT_TELL_AGAIN) != nullptr; }, 5000));
    SendMessageA(GetDlgItem(notice, IDC_DONT_TELL_AGAIN), BM_SETCHECK, BST_CHECKED, 0);
    PostMessageA(notice, WM_COMMAND, IDOK, 0);
    const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    RECT r;
    EXPECT_TRUE(WaitUntil([&] { GetWindowRect(frame, &r); return r.right - r.left == sw && r.bottom - r.top == sh; }, 5000));
    EXPECT_EQ(GetMenu(frame), nullptr) << "no menu bar in full screen";
    PostMessageA(view, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(100, 100));
    EXPECT_TRUE(WaitUntil([&] { GetWindowRect(frame, &r); return r.left == 40 && r.right - r.left == 600; }, 5000));
    EXPECT_NE(GetMenu(frame), nullptr);
    stop();
    EXPECT_EQ(ReadOptions(folder.path("user.bin")).noticeFlags, uint32_t(kNoticeCloseToTray));
}

TEST_F(EarthFrameTest, ContextMenuChangesAndSavesTheOptions) {
    start();
    Sleep(1500);
    KeepScreenshot(CaptureWindow(frame), "earth-clock-with-pane.bmp");
    ASSERT_TRUE(DeleteFileA(folder.path("user.bin").c_str()));
    SetForegroundWindow(frame);
    PostMessageA(frame, WM_CONTEXTMENU, WPARAM(frame), MAKELPARAM(200, 200));
    ASSERT_NE(WaitForWindow(nullptr, 5000, "#32768"), nullptr) << "the menu is open";
    Sleep(200);
    SendKey(VK_DOWN);  // "Details Pane"
    SendKey(VK_RETURN);
    HWND pane = FindWindowExA(frame, nullptr, "SolvaneDataPane", nullptr);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(pane); }, 5000)) << "the pane is hidden";
    EXPECT_TRUE(WaitUntil([&] { return ReadOptions(folder.path("user.bin")).detailsPaneHidden == 1; }, 5000))
        << "and the choice saved at once";
    HWND view = FindWindowExA(frame, nullptr, "SolvaneEarthView", nullptr);
    RECT viewRect, client;
    GetClientRect(view, &viewRect);
    GetClientRect(frame, &client);
    EXPECT_EQ(viewRect.bottom, client.bottom) << "the globe fills the window";
    Sleep(1500);
    KeepScreenshot(CaptureWindow(frame), "earth-clock-without-pane.bmp");
    stop();
}

}  // namespace

namespace {

TEST_F(EarthFrameTest, RestartMessageMakesANewWindow) {
    start();
    PostMessageA(hidden, WM_RESTART_EARTH_WINDOW, RESTART_EARTH_WINDOW_KEY, RESTART_EARTH_WINDOW_KEY);
    HWND box = WaitForWindow("Restart Main Window", 10000, "#32770");
    ASSERT_NE(box, nullptr);
    EXPECT_FALSE(IsWindow(frame)) << "the old window is gone while the message shows";
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    HWND reopened = nullptr;
    ASSERT_TRUE(WaitUntil([&] { reopened = FindWindowA("SolvaneEarthFrame", nullptr); return reopened && IsWindowVisible(reopened); }, 10000));
    EXPECT_TRUE(WaitUntil([&] { return FindWindowExA(reopened, nullptr, "SolvaneEarthView", nullptr) != nullptr; }, 5000));
    PostMessageA(hidden, WM_RESTART_EARTH_WINDOW, 7, 0);  // any other key: nothing
    Sleep(500);
    EXPECT_EQ(FindWindowA("SolvaneEarthFrame", nullptr), reopened);
    stop();
}

}  // namespace
