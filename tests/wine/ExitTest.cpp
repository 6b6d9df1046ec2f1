// The real solvane.exe ends promptly and keeps its options whatever is open when it is asked
// to: a context menu, a notice; and a program folder it cannot write to is reported once.
#include "EarthClockFixture.h"

#include <algorithm>

namespace {

// Windows ends a program that has not finished its session end within about five seconds.
constexpr DWORD kSessionEndLimitMs = 5000;

class ExitWhileBusy : public EarthClockTest {
protected:
    void SetUp() override {
        EarthClockTest::SetUp();
        start();
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
        HWND notice = WaitForDialogWith(IDC_DONT_TELL_AGAIN);
        WaitUntil([&] { return notice != nullptr && GetDlgItem(notice, IDC_DONT_TELL_AGAIN) != nullptr; }, 5000);
        return notice;
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
        stop();
        EXPECT_EQ(ReadBinaryFile(folder.path("user.bin")).size(), 488u);
    }
};

TEST_F(ExitWhileBusy, SessionEndWithTheContextMenuOpen) {
    ASSERT_TRUE(OpenContextMenu(frame));
    WaitForClockSeconds(1);  // a tick falls due while the menu is open
    endSession();
}

TEST_F(ExitWhileBusy, SessionEndWithTheFullScreenNoticeOpen) {
    ASSERT_NE(openNotice(true), nullptr);
    endSession();
}

TEST_F(ExitWhileBusy, ShutDownWithTheFullScreenNoticeOpen) {
    ASSERT_NE(openNotice(true), nullptr);
    shutDown();
}

TEST_F(ExitWhileBusy, ShutDownWithTheCloseReminderOpen) {
    ASSERT_NE(openNotice(false), nullptr);
    shutDown();
}

TEST_F(ExitWhileBusy, ShutDownWithTheContextMenuOpen) {
    ASSERT_TRUE(OpenContextMenu(frame));
    shutDown();
}

// "user.bin" cannot be replaced (another program holds it open, letting others only read it):
// the user hears of it once, with the file's name, and the program goes on; the exit does not
// stop to say it again.
TEST(UnwritableOptions, AreReportedOnceAndTheProgramGoesOn) {
    ASSERT_EQ(CountProcesses("solvane.exe"), 0);
    InstallFolder folder;
    const UserOptions options = QuietOptions();
    ASSERT_TRUE(WriteOptions(folder.path("user.bin"), options));
    HANDLE held = CreateFileA(folder.path("user.bin").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);  // blocks every save
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
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
    ASSERT_TRUE(OpenContextMenu(frame));
    SendKey(VK_DOWN);  // "Details Pane"
    SendKey(VK_RETURN);
    HWND pane = FindWindowExA(frame, nullptr, "SolvaneDataPane", nullptr);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(pane); }, 5000));
    // An exit that stopped to tell again would never end.
    PostMessageA(FindWindowA(nullptr, "Solvane Hidden Window"), WM_COMMAND, ID_APP_EXIT, 0);
    ASSERT_TRUE(program.waitForExit(15000));
    EXPECT_EQ(program.exitCode(), 0u);
    const std::vector<char> kept = ReadBinaryFile(folder.path("user.bin"));
    EXPECT_TRUE(kept.size() == sizeof options && std::memcmp(kept.data(), &options, sizeof options) == 0)
        << "the old file is untouched";
    EXPECT_TRUE(TemporaryFilesOf(folder.path("user.bin")).empty());
    CloseHandle(held);
}

}  // namespace
