// The real solvane.exe ends promptly and keeps its options whatever is open when it is asked
// to: a context menu, a notice; and a program folder it cannot write to is reported once.
#include "ProgramHarness.h"

#include "app/UserOptions.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace {

// Windows ends a program that has not finished its session end within about five seconds.
constexpr DWORD kSessionEndLimitMs = 5000;
constexpr DWORD kExitTimeoutMs = 15000;

class ExitWhileBusy : public testing::Test {
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
        ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(frame) != FALSE; }, 10000));
        hidden = FindWindowA(nullptr, "Solvane Hidden Window");
        ASSERT_NE(hidden, nullptr);
        ASSERT_TRUE(DeleteFileA(folder.path("user.bin").c_str()));  // the exit must write it again
    }
    // Opens a notice of the earth clock window and waits until it shows.
    HWND openNotice(bool fullScreen) {
        if (fullScreen) {
            HWND view = FindWindowExA(frame, nullptr, "SolvaneEarthView", nullptr);
            PostMessageA(view, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(100, 100));
        } else {
            PostMessageA(frame, WM_CLOSE, 0, 0);
        }
        HWND notice = WaitForWindow("Solvane", 10000, "#32770");
        WaitUntil([&] { return notice != nullptr && GetDlgItem(notice, IDC_DONT_TELL_AGAIN) != nullptr; }, 5000);
        return notice;
    }
    void openContextMenu() {
        SetForegroundWindow(frame);
        PostMessageA(frame, WM_CONTEXTMENU, WPARAM(frame), MAKELPARAM(200, 200));
        ASSERT_NE(WaitForWindow(nullptr, 5000, "#32768"), nullptr) << "the menu is open";
    }
    void endSession() {
        DWORD_PTR result = 0;
        SendMessageTimeoutA(hidden, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_BLOCK,
                            kSessionEndLimitMs, &result);
        EXPECT_EQ(ReadBinaryFile(folder.path("user.bin")).size(), 488u)
            << "user.bin written before the session-end message returns";
        EXPECT_TRUE(program->waitForExit(kSessionEndLimitMs));
        EXPECT_EQ(program->exitCode(), 0u);
    }
    void shutDown() {
        PostMessageA(hidden, WM_COMMAND, ID_APP_EXIT, 0);
        ASSERT_TRUE(program->waitForExit(kExitTimeoutMs));
        EXPECT_EQ(program->exitCode(), 0u);
        EXPECT_EQ(ReadBinaryFile(folder.path("user.bin")).size(), 488u);
    }
    UserOptions options;
    InstallFolder folder;
    std::unique_ptr<RunningProgram> program;
    HWND frame = nullptr, hidden = nullptr;
};

TEST_F(ExitWhileBusy, SessionEndWithTheContextMenuOpen) {
    start();
    openContextMenu();
    Sleep(1200);  // a tick falls due while the menu is open
    endSession();
}

TEST_F(ExitWhileBusy, SessionEndWithTheFullScreenNoticeOpen) {
    start();
    ASSERT_NE(openNotice(true), nullptr);
    endSession();
}

TEST_F(ExitWhileBusy, ShutDownWithTheFullScreenNoticeOpen) {
    start();
    ASSERT_NE(openNotice(true), nullptr);
    shutDown();
}

TEST_F(ExitWhileBusy, ShutDownWithTheCloseReminderOpen) {
    start();
    ASSERT_NE(openNotice(false), nullptr);
    shutDown();
}

TEST_F(ExitWhileBusy, ShutDownWithTheContextMenuOpen) {
    start();
    openContextMenu();
    shutDown();
}

// The program folder cannot take "user.bin": the user hears of it once, with the file's
// name, and the program goes on; the exit does not stop to say it again.
TEST(UnwritableOptions, AreReportedOnceAndTheProgramGoesOn) {
    ASSERT_EQ(CountProcesses("solvane.exe"), 0);
    InstallFolder folder;
    UserOptions options;
    SetDefaultOptions(options);
    options.hideSplash = 1;
    options.startWithWindows = 0;
    const char* bytes = reinterpret_cast<const char*>(&options);
    ASSERT_TRUE(WriteBinaryFile(folder.path("user.bin"), std::vector<char>(bytes, bytes + sizeof options)));
    ASSERT_TRUE(CreateDirectoryA(folder.path("user.bin.new").c_str(), nullptr));  // blocks every save
    RunningProgram program(folder.path("solvane.exe"));

    HWND warning = WaitForWindow("Warning", 20000, "#32770");
    ASSERT_NE(warning, nullptr);
    std::string text;
    EXPECT_TRUE(WaitUntil([&] {
        for (const std::string& t : StaticTexts(warning)) if (t.find("could not be saved") != std::string::npos) text = t;
        return !text.empty();
    }, 5000));
    EXPECT_NE(text.find(folder.path("user.bin")), std::string::npos) << text;
    PostMessageA(warning, WM_COMMAND, IDOK, 0);

    HWND frame = WaitForWindow(nullptr, 20000, "SolvaneEarthFrame");
    ASSERT_NE(frame, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(frame) != FALSE; }, 10000)) << "the program went on";
    // A change from the context menu saves again, and fails again, quietly.
    SetForegroundWindow(frame);
    PostMessageA(frame, WM_CONTEXTMENU, WPARAM(frame), MAKELPARAM(200, 200));
    ASSERT_NE(WaitForWindow(nullptr, 5000, "#32768"), nullptr);
    SendKey(VK_DOWN);  // "Details Pane"
    SendKey(VK_RETURN);
    HWND pane = FindWindowExA(frame, nullptr, "SolvaneDataPane", nullptr);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(pane); }, 5000));
    // An exit that stopped to tell again would never end.
    PostMessageA(FindWindowA(nullptr, "Solvane Hidden Window"), WM_COMMAND, ID_APP_EXIT, 0);
    ASSERT_TRUE(program.waitForExit(kExitTimeoutMs));
    EXPECT_EQ(program.exitCode(), 0u);
    EXPECT_EQ(ReadBinaryFile(folder.path("user.bin")), std::vector<char>(bytes, bytes + sizeof options))
        << "the old file is untouched";
}

}  // namespace
