// The Set Clock dialog in the real solvane.exe, run with a standard user's rights: from a
// trusted folder the Set button carries the shield, and solvane-setclock.exe, started to be
// elevated, sets the clock from NTP and Time Protocol servers of the test's own on 127.0.0.1,
// ports 123 and 37 (the program's ports; binding them needs root); from any other folder
// nothing is elevated. Wine itself never changes the machine's clock: it accepts a setting
// within half a second of the time it has and refuses any other, which the status line must
// then report as a failure.
#include "EarthClockFixture.h"
#include "TimeServerScript.h"

#include "timesync/ClockSettingCommand.h"

#include <gtest/gtest.h>

#include <cmath>
#include <mutex>
#include <ctime>

namespace {

bool StartsWith(const std::string& text, const std::string& start) { return text.compare(0, start.size(), start) == 0; }
bool Holds(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

double UnixNow() {
    FILETIME now = {};
    GetSystemTimePreciseAsFileTime(&now);
    return (double(uint64_t(now.dwHighDateTime) << 32 | now.dwLowDateTime) - 116444736000000000.0) / 1e7;
}

using Datagrams = std::vector<std::string>;

class SetClockDialogTest : public EarthClockTest {
protected:
    void SetUp() override {
        EarthClockTest::SetUp();
        ASSERT_TRUE(CopyFileA((DistFolder() + "\\" + kClockSetterProgram).c_str(), folder.path(kClockSetterProgram).c_str(),
                              FALSE));
    }
    HWND open(HWND target) { return OpenDialogWith(target, ID_SET_CLOCK, IDC_OTHER_SERVER_NAME); }
    std::string status(HWND dialog) { return WindowText(GetDlgItem(dialog, IDC_SYNC_STATUS)); }
    void press(HWND dialog) {
        SendMessageA(GetDlgItem(dialog, IDC_SYNC_STATUS), WM_SETTEXT, 0, LPARAM(""));
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), LPARAM(GetDlgItem(dialog, IDOK)));
    }
    // Waits for the status line to leave "Attempting to synchronize clock....": at most 4 s for
    // the server's turn, then up to 24 s against a silent server.
    std::string outcome(HWND dialog) {
        std::string text;
        EXPECT_TRUE(WaitUntil([&] { return !(text = status(dialog)).empty() && !StartsWith(text, "Attempting"); }, 40000));
        return text;
    }
    std::string synchronize(HWND dialog) {
        press(dialog);
        return outcome(dialog);
    }
    // The question the program that sets the clock asks in a box owned by the dialog.
    HWND question(HWND dialog) {
        return WaitForDialog([dialog](HWND w) { return GetWindow(w, GW_OWNER) == dialog; }, 30000);
    }
    void type(HWND dialog, const char* server) {
        SendMessageA(GetDlgItem(dialog, IDC_OTHER_SERVER_NAME), WM_SETTEXT, 0, LPARAM(server));
    }
};

TEST_F(SetClockDialogTest, SetsTheClockThroughAnElevatedInstanceAndReportsEveryFailure) {
    // The loopback server among others, its entry sorting between theirs, and one without a host.
    const std::string list = "a.example\nAlpha\n127.0.0.1\r\nLoopback\r\n\nNo host\nz.example\nZulu\n";
    ASSERT_TRUE(WriteBinaryFile(folder.path("servers.txt"), std::vector<char>(list.begin(), list.end())));
    // First as a portable copy (wine's descriptors trust no folder): Set offers no elevation and says why.
    rights = Rights::Standard;
    start();
    HWND dialog = open(hidden);
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDOK)));
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), LPARAM(GetDlgItem(dialog, IDOK)));
    EXPECT_EQ(CountProcesses(kClockSetterProgram), 0);
    EXPECT_TRUE(StartsWith(status(dialog), "Solvane cannot set your PC clock from this folder")) << status(dialog);
    KeepScreenshot(SettledCapture(dialog), "set-clock-untrusted.bmp");
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), LPARAM(GetDlgItem(dialog, IDCANCEL)));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 5000));
    stop();

    // 0: the time now; 1: two days ahead; 2: no NTP, a Time Protocol answer after 2038;
    // 3: silence; 4: a Kiss-o'-Death.
    std::atomic<int> mode{0};
    // When each request reached either port: the same server, however it was named.
    std::mutex lock;
    std::vector<ULONGLONG> arrivals;
    const auto arrived = [&] {
        std::lock_guard<std::mutex> hold(lock);
        arrivals.push_back(GetTickCount64());
    };
    TimeServerScript ntp(123, [&](int, const std::string& request) {
        arrived();
        switch (mode.load()) {
        case 0: return Datagrams{NtpAnswer(request, UnixNow())};
        case 1: return Datagrams{NtpAnswer(request, UnixNow() + 2 * 86400)};
        case 4: return Datagrams{NtpAnswer(request, 0, 0, "RATE")};
        }
        return Datagrams{};
    });
    TimeServerScript timeProtocol(37, [&](int, const std::string&) {
        arrived();
        return mode == 2 ? Datagrams{std::string("\x03\xAA\x7E\x80", 4)} : Datagrams{};
    });
    if (!ntp.ok() || !timeProtocol.ok()) {
        // CI runs as root: there the ports must be had.
        ASSERT_EQ(GetEnvironmentVariableA("CI", nullptr, 0), 0u) << "ports 123 and 37 of the loopback address cannot be had";
        GTEST_SKIP() << "ports 123 and 37 of the loopback address cannot be had (not root?)";
    }
    trust = Trust::Trusted;
    start();
    dialog = open(hidden);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), nullptr) << "from the tray: no owner";
    EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_SERVER_LIST, LB_GETCOUNT, 0, 0), 4) << "the servers of servers.txt";
    EXPECT_TRUE(StartsWith(status(dialog), "Selecting a time server near your location"));
    // The entry without a host: Set does nothing at all.
    SendDlgItemMessageA(dialog, IDC_SERVER_LIST, LB_SETCURSEL, 2, 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), LPARAM(GetDlgItem(dialog, IDOK)));
    EXPECT_TRUE(StartsWith(status(dialog), "Selecting a time server near your location")) << status(dialog);
    EXPECT_EQ(CountProcesses(kClockSetterProgram), 0);
    // One at a time: the menu bar's command ends its dialog at once.
    PostMessageA(frame, WM_COMMAND, ID_SET_CLOCK, 0);
    EXPECT_TRUE(WaitUntilIdle(frame));
    int dialogs = 0;
    for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, "#32770", nullptr)) != nullptr;) {
        dialogs += IsWindowVisible(w) && GetDlgItem(w, IDC_OTHER_SERVER_NAME) != nullptr;
    }
    EXPECT_EQ(dialogs, 1);

    // The server picked from the list: the second entry, sorted by its description. The clock
    // is set by the elevated program, which ends after it reports.
    SendDlgItemMessageA(dialog, IDC_SERVER_LIST, LB_SETCURSEL, 1, 0);
    std::string result = synchronize(dialog);
    EXPECT_TRUE(StartsWith(result, "Your PC clock has been reset using the selected server. Maximum error is 0.00")) << result;
    EXPECT_TRUE(Holds(result, "0.00") && Holds(result, " seconds (round trip 0.0") && Holds(result, "server stratum 1).")) << result;
    EXPECT_EQ(ntp.requests(), 1);
    EXPECT_TRUE(WaitUntil([] { return CountProcesses(kClockSetterProgram) == 0; }, 10000));
    KeepScreenshot(SettledCapture(dialog), "set-clock.bmp");

    // A typed one, spaces around it: the second request waits for the server's turn, and the
    // status line says so.
    PostMessageA(GetDlgItem(dialog, IDC_OTHER_SERVER), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(GetDlgItem(dialog, IDC_OTHER_SERVER_NAME)) != 0; }, 5000));
    type(dialog, " 127.0.0.1 ");
    const ULONGLONG pressed = GetTickCount64();
    press(dialog);
    EXPECT_TRUE(WaitUntil([&] { return Holds(status(dialog), "second(s) for its turn"); }, 4000)) << status(dialog);
    result = outcome(dialog);
    EXPECT_TRUE(StartsWith(result, "Your PC clock has been reset")) << result;
    EXPECT_EQ(ntp.requests(), 2);
    EXPECT_GE(GetTickCount64() - pressed, 3000u) << "4 s after the first request, not at once";

    // A name of blanks names no server: said so, not the success before it again.
    type(dialog, "   ");
    result = synchronize(dialog);
    EXPECT_TRUE(StartsWith(result, "The time server's name could not be found")) << result;
    type(dialog, " 127.0.0.1 ");

    // Two days ahead: the elevated program asks first, in a box of its own owned by the dialog.
    // Kept as it was, then set (which wine refuses).
    mode = 1;
    for (const int answer : {IDNO, IDYES}) {
        press(dialog);
        HWND box = question(dialog);
        ASSERT_NE(box, nullptr);
        EXPECT_FALSE(StaticTextHolding(box, "2.0 days ahead").empty());
        EXPECT_FALSE(IsWindowEnabled(dialog)) << "the box is the dialog's";
        if (answer == IDYES) KeepScreenshot(SettledCapture(box), "set-clock-question.bmp");
        PostMessageA(box, WM_COMMAND, answer, 0);
        result = outcome(dialog);
        if (answer == IDNO) {
            EXPECT_EQ(result, "Your PC clock was not changed: you chose to keep its time.");
        }
    }
    EXPECT_TRUE(StartsWith(result, "Your PC clock was not changed: Windows refused to set it. ")) << result;
    EXPECT_GT(result.size(), 60u) << "with the system's reason: " << result;
    // The program ending while it asks (killed here) leaves the dialog usable again.
    press(dialog);
    HWND box = question(dialog);
    ASSERT_NE(box, nullptr);
    DWORD setter = 0;
    GetWindowThreadProcessId(box, &setter);
    const HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, setter);
    ASSERT_NE(process, nullptr);
    TerminateProcess(process, 1);
    CloseHandle(process);
    result = outcome(dialog);
    EXPECT_TRUE(StartsWith(result, "Your PC clock may not have been changed")) << result;
    EXPECT_TRUE(IsWindowEnabled(dialog));

    mode = 2;
    result = synchronize(dialog);
    EXPECT_TRUE(StartsWith(result, "The selected time server's answer was out of range")) << result;

    // Silence, from the same server by another name, which waits for its turn all the same:
    // the time-out.
    // Meanwhile the status line tells how often the server has been asked.
    mode = 3;
    type(dialog, "localhost");
    press(dialog);
    EXPECT_TRUE(WaitUntil([&] { return Holds(status(dialog), "has been asked 3 time(s)"); }, 20000)) << status(dialog);
    result = outcome(dialog);
    EXPECT_TRUE(StartsWith(result, "The selected time server is either taking too long to respond")) << result;

    // A refusal, and the refusing server is not asked again in this run.
    mode = 4;
    type(dialog, " 127.0.0.1 ");
    result = synchronize(dialog);
    EXPECT_EQ(result, "The selected time server refused to answer (its code: RATE). Your PC clock was not changed, and "
                      "Solvane will not ask this server again until it restarts. Please try another server.");
    const int asked = ntp.requests();
    EXPECT_EQ(synchronize(dialog), result);
    EXPECT_EQ(ntp.requests(), asked);

    {
        std::lock_guard<std::mutex> hold(lock);
        for (std::size_t i = 1; i < arrivals.size(); ++i) {
            EXPECT_GE(arrivals[i] - arrivals[i - 1], 3990u) << "requests " << i - 1 << " and " << i;
        }
    }

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

// Against servers nobody here wrote, which tools/time-server-e2e.sh starts on 127.0.0.1 one
// at a time: chrony answering NTP on the program's port 123, or xinetd's built-in Time Protocol
// service on the port the script names, reached through a relay on the program's port 37. The
// program runs as an administrator, from a portable copy: as before, it starts the program that
// sets the clock without asking, whatever the folder.
TEST_F(SetClockDialogTest, EndToEndWithRealServers) {
    char peer[16] = "", port[16] = "";
    GetEnvironmentVariableA("SOLVANE_TIME_PEER", peer, sizeof peer);
    GetEnvironmentVariableA("SOLVANE_XINETD_TIME_PORT", port, sizeof port);
    const bool chrony = std::string(peer) == "chrony", xinetd = std::string(peer) == "xinetd";
    if (!chrony && !xinetd) GTEST_SKIP() << "run by tools/time-server-e2e.sh, which starts chrony and xinetd";
    WSADATA sockets;
    ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &sockets), 0);
    SOCKET upstream = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    sockaddr_in xinetdAt = {};
    xinetdAt.sin_family = AF_INET;
    xinetdAt.sin_port = htons(u_short(atoi(port)));
    xinetdAt.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(connect(upstream, reinterpret_cast<sockaddr*>(&xinetdAt), sizeof xinetdAt), 0);
    DWORD timeoutMs = 500;
    setsockopt(upstream, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeoutMs), sizeof timeoutMs);
    std::atomic<int> answered{0};
    std::unique_ptr<TimeServerScript> relay;
    if (xinetd) {
        relay = std::make_unique<TimeServerScript>(37, [&](int, const std::string&) {
            send(upstream, "", 0, 0);
            char reply[16];
            const int got = recv(upstream, reply, sizeof reply, 0);
            if (got <= 0) return Datagrams{};
            ++answered;
            return Datagrams{std::string(reply, size_t(got))};
        });
        if (!relay->ok()) GTEST_SKIP() << "port 37 of the loopback address cannot be had (not root?)";
    }
    SetFieldText(options.customTimeServer, std::string("127.0.0.1"));
    ASSERT_TRUE(CopyFileA((DistFolder() + "\\servers.txt").c_str(), folder.path("servers.txt").c_str(), FALSE));
    start();
    HWND dialog = open(hidden);
    ASSERT_NE(dialog, nullptr);
    PostMessageA(GetDlgItem(dialog, IDC_OTHER_SERVER), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(GetDlgItem(dialog, IDC_OTHER_SERVER_NAME)) != 0; }, 5000));
    const std::string result = synchronize(dialog);
    EXPECT_TRUE(StartsWith(result, "Your PC clock has been reset using the selected server. Maximum error is 0.0")) << result;
    if (chrony) {
        EXPECT_TRUE(Holds(result, "server stratum 8).")) << result;
    } else {
        // Less than a second either way, with its sign.
        EXPECT_TRUE(Holds(result, "corrected by less than 1 second(s).") || Holds(result, "corrected by less than -1 second(s)."))
            << result;
        EXPECT_EQ(answered.load(), 4) << "xinetd answered four well-timed requests";
    }
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), LPARAM(GetDlgItem(dialog, IDCANCEL)));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 5000));
    stop();
    relay.reset();
    closesocket(upstream);
    WSACleanup();
}

}  // namespace
