// The synchronisation over real sockets, against scripted NTP and Time Protocol servers on the
// loopback address, with a clock that only records what it would be set to, and the requests
// spaced a fifth of a second apart instead of four seconds.
#include "ProgramHarness.h"
#include "TimeServerScript.h"

#include "timesync/SystemClockSetter.h"
#include "timesync/TimeSyncSocket.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// The PC's clock read as it is, plus `error`; settings only recorded.
struct RecordingClock : ClockSetter {
    double error = 0;
    std::vector<double> sets;
    double now() override { return SystemClockSetter().now() + error; }
    bool set(double unixTime, std::string&) override {
        sets.push_back(unixTime);
        return true;
    }
};

double TrueTime() { return SystemClockSetter().now(); }

using Datagrams = std::vector<std::string>;
const TimeServerScript::Script kSilence = [](int, const std::string&) { return Datagrams{}; };

class TimeSyncSocketTest : public testing::Test {
protected:
    void SetUp() override {
        WSADATA data;
        ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
    }
    void TearDown() override { WSACleanup(); }
    // Synchronises with the two servers and waits for the end. WaitUntil pumps the messages
    // that carry the socket's notices.
    const TimeSyncExchange& synchronize(const TimeServerScript& ntp, const TimeServerScript& timeProtocol) {
        EXPECT_TRUE(ntp.ok() && timeProtocol.ok());
        client = std::make_unique<TimeSyncSocket>(clock, counter, TimeServerPorts{ntp.port(), timeProtocol.port()},
                                                  SyncSchedule{0.2, 2, 4});
        client->synchronize(" 127.0.0.1 ");
        EXPECT_TRUE(WaitUntil([&] { return client->exchange().done(); }, 10000));
        return client->exchange();
    }
    RecordingClock clock;
    SystemPerformanceCounter counter;
    std::unique_ptr<TimeSyncSocket> client;
};

// Datagrams too short to be an answer are ignored; a long one (an answer with a MAC) is read.
TEST_F(TimeSyncSocketTest, AnNtpAnswerSetsTheClockAtOnce) {
    clock.error = -2.5;
    TimeServerScript ntp(0, [](int, const std::string& request) {
        std::string withMac = NtpAnswer(request, TrueTime(), 2) + std::string(20, '\x5A');
        return Datagrams{"", "abc", NtpAnswer(request, TrueTime()).substr(0, 47), withMac};
    });
    TimeServerScript timeProtocol(0, kSilence);
    const TimeSyncExchange& e = synchronize(ntp, timeProtocol);
    ASSERT_EQ(e.outcome(), SyncOutcome::ClockSet);
    EXPECT_EQ(e.protocol(), SyncProtocol::Ntp);
    EXPECT_EQ(e.stratum(), 2);
    EXPECT_NEAR(e.correction(), 2.5, 0.05);
    EXPECT_LT(e.maxError(), 0.05);
    ASSERT_EQ(clock.sets.size(), 1u);
    EXPECT_EQ(ntp.requests(), 1);
    EXPECT_EQ(timeProtocol.requests(), 0);
}

// No NTP answer: two NTP requests, then the Time Protocol, whose four answers set the clock
// within their bound.
TEST_F(TimeSyncSocketTest, WithoutNtpTheTimeProtocolSetsTheClock) {
    clock.error = 0.37;
    TimeServerScript ntp(0, kSilence);
    TimeServerScript timeProtocol(0, [](int, const std::string&) { return Datagrams{TimeReply(int64_t(std::floor(TrueTime())))}; });
    const TimeSyncExchange& e = synchronize(ntp, timeProtocol);
    ASSERT_EQ(e.outcome(), SyncOutcome::ClockSet);
    EXPECT_EQ(e.protocol(), SyncProtocol::TimeProtocol);
    EXPECT_EQ(ntp.requests(), 2);
    EXPECT_EQ(timeProtocol.requests(), 4);
    ASSERT_EQ(clock.sets.size(), 1u);
    EXPECT_LT(e.maxError(), 0.1) << "four halvings, each request sent at its moment";
    EXPECT_NEAR(e.correction(), -0.37, e.maxError() + 0.02);
}

// A stranger's answer, echoing the request, comes from another port just before the server's
// refusal: heard, it would set the clock.
TEST_F(TimeSyncSocketTest, OnlyTheServersPortsAreHeardAndARefusalEndsIt) {
    TimeServerScript* server = nullptr;
    TimeServerScript ntp(0, [&](int, const std::string& request) {
        server->sendFromAnotherSocket(NtpAnswer(request, TrueTime()));
        Sleep(50);
        return Datagrams{NtpAnswer(request, 0, 0, "RATE")};
    });
    server = &ntp;
    TimeServerScript timeProtocol(0, kSilence);
    const TimeSyncExchange& e = synchronize(ntp, timeProtocol);
    EXPECT_EQ(e.outcome(), SyncOutcome::KissOfDeath);
    EXPECT_EQ(e.kissCode(), "RATE");
    EXPECT_TRUE(clock.sets.empty());
    EXPECT_EQ(timeProtocol.requests(), 0);
}

TEST_F(TimeSyncSocketTest, AnUnknownHostIsASocketError) {
    TimeSyncSocket socket(clock, counter);
    socket.synchronize("no-such-host.invalid");
    ASSERT_TRUE(WaitUntil([&] { return socket.exchange().done(); }, 20000));
    EXPECT_EQ(socket.exchange().outcome(), SyncOutcome::SocketError);
    EXPECT_NE(socket.exchange().socketError(), 0);
}

}  // namespace
