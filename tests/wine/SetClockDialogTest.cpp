// The Set Clock dialog in the real solvane.exe, setting the clock from a Time Protocol server
// of the test's own on 127.0.0.1, port 37 (the program's port; binding it needs root). Wine
// itself never changes the machine's clock: it accepts a setting within half a second of the
// time it has and refuses any other, which the status line must then report as a failure.
#include "EarthClockFixture.h"
#include "TimeServerScript.h"

#include <gtest/gtest.h>

#include <ctime>

namespace {

bool StartsWith(const std::string& text, const std::string& start) { return text.compare(0, start.size(), start) == 0; }

class SetClockDialogTest : public EarthClockTest {
protected:
    HWND open(HWND target) { return OpenDialogWith(target, ID_SET_CLOCK, IDC_OTHER_SERVER_NAME); }
    std::string status(HWND dialog) { return WindowText(GetDlgItem(dialog, IDC_SYNC_STATUS)); }
    // Presses Set and waits for the status line to leave "Attempting to synchronize clock....".
    std::string synchronize(HWND dialog) {
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), LPARAM(GetDlgItem(dialog, IDOK)));
        EXPECT_TRUE(WaitUntil([&] { return StartsWith(status(dialog), "Attempting"); }, 5000));
        std::string text;
        EXPECT_TRUE(WaitUntil([&] { return !StartsWith(text = status(dialog), "Attempting"); }, 15000));
        return text;
    }
};

TEST_F(SetClockDialogTest, SetsTheClockAndReportsEveryFailure) {
    // The loopback server among others, its entry sorting between theirs.
    const std::string list = "a.example\nAlpha\n127.0.0.1\r\nLoopback\r\nz.example\nZulu\n";
    ASSERT_TRUE(WriteBinaryFile(folder.path("servers.txt"), std::vector<char>(list.begin(), list.end())));
    std::atomic<int> mode{0};  // 0: the time now; 1: an hour ahead; 2: after 2038; 3: silence
    TimeServerScript server(37, [&](int) {
        const int64_t now = int64_t(std::time(nullptr));
        switch (mode.load()) {
        case 0: return std::vector<std::string>{TimeReply(now)};
        case 1: return std::vector<std::string>{TimeReply(now + 3600)};
        case 2: return std::vector<std::string>{std::string("\x03\xAA\x7E\x80", 4)};
        }
        return std::vector<std::string>{};
    });
    if (!server.ok()) {
        // CI runs as root: there the port must be had.
        ASSERT_EQ(GetEnvironmentVariableA("CI", nullptr, 0), 0u) << "port 37 of the loopback address cannot be had";
        GTEST_SKIP() << "port 37 of the loopback address cannot be had (not root?)";
    }
    start();
    HWND dialog = open(hidden);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), nullptr) << "from the tray: no owner";
    EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_SERVER_LIST, LB_GETCOUNT, 0, 0), 3) << "the servers of servers.txt";
    EXPECT_TRUE(StartsWith(status(dialog), "Selecting a time server near your location"));
    // One at a time: the menu bar's command ends its dialog at once.
    PostMessageA(frame, WM_COMMAND, ID_SET_CLOCK, 0);
    EXPECT_TRUE(WaitUntilIdle(frame));
    int dialogs = 0;
    for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, "#32770", nullptr)) != nullptr;) {
        dialogs += IsWindowVisible(w) && GetDlgItem(w, IDC_OTHER_SERVER_NAME) != nullptr;
    }
    EXPECT_EQ(dialogs, 1);

    // The server picked from the list: the middle entry, sorted by its description.
    SendDlgItemMessageA(dialog, IDC_SERVER_LIST, LB_SETCURSEL, 1, 0);
    std::string result = synchronize(dialog);
    EXPECT_TRUE(StartsWith(result, "Your PC clock has been reset")) << result;

    // A typed one, spaces around it.
    PostMessageA(GetDlgItem(dialog, IDC_OTHER_SERVER), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(GetDlgItem(dialog, IDC_OTHER_SERVER_NAME)) != 0; }, 5000));
    SendMessageA(GetDlgItem(dialog, IDC_OTHER_SERVER_NAME), WM_SETTEXT, 0, LPARAM(" 127.0.0.1 "));

    result = synchronize(dialog);
    EXPECT_TRUE(StartsWith(result, "Your PC clock has been reset using the selected server. Maximum error is 0.0")) << result;
    EXPECT_NE(result.find("corrected by less than 1 second(s)."), std::string::npos) << result;
    EXPECT_GT(server.requests(), 1);
    KeepScreenshot(SettledCapture(dialog), "set-clock.bmp");
    // A name of blanks names no server: said so, not the success before it again.
    SendMessageA(GetDlgItem(dialog, IDC_OTHER_SERVER_NAME), WM_SETTEXT, 0, LPARAM("   "));
    result = synchronize(dialog);
    EXPECT_TRUE(StartsWith(result, "The time server's name could not be found")) << result;
    SendMessageA(GetDlgItem(dialog, IDC_OTHER_SERVER_NAME), WM_SETTEXT, 0, LPARAM(" 127.0.0.1 "));

    mode = 1;
    result = synchronize(dialog);
    EXPECT_TRUE(StartsWith(result, "Your PC clock was not changed: Windows refused to set it. ")) << result;
    EXPECT_GT(result.size(), 60u) << "with the system's reason: " << result;

    mode = 2;
    result = synchronize(dialog);
    EXPECT_TRUE(StartsWith(result, "The selected time server's answer was out of range")) << result;

    // Silence: the time-out, the process's priority raised meanwhile and lowered after.
    mode = 3;
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), LPARAM(GetDlgItem(dialog, IDOK)));
    EXPECT_TRUE(WaitUntil([&] { return StartsWith(status(dialog), "Attempting"); }, 5000));
    EXPECT_EQ(GetPriorityClass(program->process()), DWORD(HIGH_PRIORITY_CLASS));
    ASSERT_TRUE(WaitUntil([&] { return !StartsWith(result = status(dialog), "Attempting"); }, 15000));
    EXPECT_EQ(GetPriorityClass(program->process()), DWORD(NORMAL_PRIORITY_CLASS));
    EXPECT_TRUE(StartsWith(result, "The selected time server is either taking too long to respond")) << result;

    // The typed server is kept: in the next dialog, and in user.bin once the program ends.
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), LPARAM(GetDlgItem(dialog, IDCANCEL)));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 5000));
    dialog = open(frame);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), frame);
    EXPECT_EQ(WindowText(GetDlgItem(dialog, IDC_OTHER_SERVER_NAME)), " 127.0.0.1 ");
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), LPARAM(GetDlgItem(dialog, IDCANCEL)));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 5000));
    stop();
    EXPECT_EQ(FieldText(ReadOptions(folder.path("user.bin")).customTimeServer), " 127.0.0.1 ");
}

// Opens Set Clock from the tray: a notice comes first and must hold `words`; the dialog then
// offers `servers` entries, and is cancelled.
void ExpectNoticeThenServers(HWND hidden, const std::string& words, LRESULT servers) {
    PostMessageA(hidden, WM_COMMAND, ID_SET_CLOCK, 0);
    HWND box = WaitForWindow("Solvane", 20000, "#32770");
    ASSERT_NE(box, nullptr);
    bool named = false;
    for (const std::string& text : StaticTexts(box)) named |= text.find(words) != std::string::npos;
    EXPECT_TRUE(named) << words;
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    HWND dialog = WaitForDialogWith(IDC_OTHER_SERVER_NAME);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_SERVER_LIST, LB_GETCOUNT, 0, 0), servers);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), LPARAM(GetDlgItem(dialog, IDCANCEL)));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 5000));
}

// A missing list is explained and leaves the list empty; a list far too long for a list box
// offers its first thousand servers and names the rest in a word.
TEST_F(SetClockDialogTest, AMissingOrHugeServerListIsExplained) {
    start();
    ExpectNoticeThenServers(hidden, "Could not find Time Server list!", 0);
    stop();

    std::string bytes;
    for (int i = 0; i < 1200; ++i) bytes += "h" + std::to_string(i) + ".example\r\nPlace " + std::to_string(i) + "\r\n";
    bytes += "long.example\r\n" + std::string(60, 'W') + "\r\n";
    ASSERT_TRUE(WriteBinaryFile(folder.path("servers.txt"), std::vector<char>(bytes.begin(), bytes.end())));
    start();
    ExpectNoticeThenServers(hidden, "the other 201 are left out", 1000);
    stop();
}

}  // namespace

namespace {

// Against a Time Protocol server nobody here wrote: xinetd's built-in one, which
// tools/time-server-e2e.sh starts on 127.0.0.1 at the port it names. xinetd drops a request
// that comes while it is still finishing its previous answer, and the program asks again the
// moment an answer comes: the test paces the requests through a relay on the program's port
// 37 that hands each one on to xinetd a millisecond later.
TEST_F(SetClockDialogTest, EndToEndWithXinetd) {
    char port[16] = "";
    if (GetEnvironmentVariableA("SOLVANE_XINETD_TIME_PORT", port, sizeof port) == 0) {
        GTEST_SKIP() << "run by tools/time-server-e2e.sh, which starts xinetd";
    }
    WSADATA sockets;
    ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &sockets), 0);
    SOCKET upstream = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    sockaddr_in xinetd = {};
    xinetd.sin_family = AF_INET;
    xinetd.sin_port = htons(u_short(atoi(port)));
    xinetd.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(connect(upstream, reinterpret_cast<sockaddr*>(&xinetd), sizeof xinetd), 0);
    DWORD timeoutMs = 500;
    setsockopt(upstream, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeoutMs), sizeof timeoutMs);
    std::atomic<int> answered{0};
    TimeServerScript relay(37, [&](int) {
        Sleep(1);
        send(upstream, "", 0, 0);
        char reply[16];
        const int got = recv(upstream, reply, sizeof reply, 0);
        if (got <= 0) return std::vector<std::string>{};
        ++answered;
        return std::vector<std::string>{std::string(reply, size_t(got))};
    });
    if (!relay.ok()) GTEST_SKIP() << "port 37 of the loopback address cannot be had (not root?)";
    SetFieldText(options.customTimeServer, std::string("127.0.0.1"));
    ASSERT_TRUE(CopyFileA((DistFolder() + "\\servers.txt").c_str(), folder.path("servers.txt").c_str(), FALSE));
    start();
    HWND dialog = open(hidden);
    ASSERT_NE(dialog, nullptr);
    PostMessageA(GetDlgItem(dialog, IDC_OTHER_SERVER), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(GetDlgItem(dialog, IDC_OTHER_SERVER_NAME)) != 0; }, 5000));
    const std::string result = synchronize(dialog);
    EXPECT_TRUE(StartsWith(result, "Your PC clock has been reset using the selected server. Maximum error is 0.0")) << result;
    EXPECT_NE(result.find("corrected by less than 1 second(s)."), std::string::npos) << result;
    EXPECT_GT(answered.load(), 1) << "xinetd answered";
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), LPARAM(GetDlgItem(dialog, IDCANCEL)));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 5000));
    stop();
    closesocket(upstream);
    WSACleanup();
}

}  // namespace
