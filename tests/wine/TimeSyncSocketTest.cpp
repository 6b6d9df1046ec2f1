// The Time Protocol client over real sockets, against a scripted server on the loopback
// address, with a clock that only records what it would be set to.
#include "ProgramHarness.h"
#include "TimeServerScript.h"

#include "timesync/SystemClockSetter.h"
#include "timesync/TimeSyncSocket.h"

#include <gtest/gtest.h>

namespace {

struct RecordingClock : ClockSetter {
    int64_t reading = 0;  // what the clock reads
    std::vector<int64_t> sets;
    int64_t now() override { return reading; }
    bool set(int64_t unixTime, std::string&) override {
        sets.push_back(unixTime);
        return true;
    }
};

constexpr int64_t kNow = 1700000000;

class TimeSyncSocketTest : public testing::Test {
protected:
    void SetUp() override {
        WSADATA data;
        ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
    }
    void TearDown() override { WSACleanup(); }
    RecordingClock clock;
    SystemPerformanceCounter counter;
    TimeSyncSocket socket{clock, counter, 0};
};

// A client of `server`, made after it since the port is the server's. WaitUntil pumps the
// messages that carry the socket's notices.
#define CLIENT_FOR(server)          \
    ASSERT_TRUE((server).ok());     \
    TimeSyncSocket client(clock, counter, (server).port())

TEST_F(TimeSyncSocketTest, TheSecondTurnsOnTheThirdReply) {
    TimeServerScript server(0, [](int n) { return std::vector<std::string>{TimeReply(n < 3 ? kNow : kNow + 1)}; });
    CLIENT_FOR(server);
    clock.reading = kNow + 5;  // 4 s ahead of the turning second
    client.synchronize("127.0.0.1");
    ASSERT_TRUE(WaitUntil([&] { return client.exchange().done(); }, 10000));
    EXPECT_EQ(client.exchange().outcome(), SyncOutcome::ClockSet);
    EXPECT_EQ(clock.sets, std::vector<int64_t>{kNow + 1});
    EXPECT_EQ(client.exchange().requests(), 3);
    EXPECT_EQ(server.requests(), 3);
    EXPECT_GT(client.exchange().maxError(), 0.0f);
    EXPECT_LT(client.exchange().maxError(), 1.0f);
    EXPECT_EQ(client.exchange().correction(), -4);
}

TEST_F(TimeSyncSocketTest, OneReplyOrTheSameSecondForeverNeverSets) {
    TimeServerScript once(0, [](int n) { return n == 1 ? std::vector<std::string>{TimeReply(kNow)} : std::vector<std::string>{}; });
    {
        CLIENT_FOR(once);
        client.synchronize("127.0.0.1");
        ASSERT_TRUE(WaitUntil([&] { return once.requests() == 2; }, 10000)) << "asked again after the reply";
        EXPECT_FALSE(client.exchange().done());
    }
    TimeServerScript same(0, [](int) { return std::vector<std::string>{TimeReply(kNow)}; });
    CLIENT_FOR(same);
    client.synchronize("127.0.0.1");
    ASSERT_TRUE(WaitUntil([&] { return same.requests() >= 200; }, 10000));
    EXPECT_FALSE(client.exchange().done());
    EXPECT_TRUE(clock.sets.empty());
}

TEST_F(TimeSyncSocketTest, DatagramsOfTheWrongSizeAreIgnored) {
    TimeServerScript server(0, [](int n) {
        if (n == 1) return std::vector<std::string>{"", "abc", "abcde", TimeReply(kNow)};
        return std::vector<std::string>{TimeReply(kNow + 1)};
    });
    CLIENT_FOR(server);
    client.synchronize("127.0.0.1");
    ASSERT_TRUE(WaitUntil([&] { return client.exchange().done(); }, 10000));
    EXPECT_EQ(clock.sets, std::vector<int64_t>{kNow + 1});
    EXPECT_EQ(server.requests(), 2);
}

TEST_F(TimeSyncSocketTest, AValueAfter2038IsOutOfRange) {
    TimeServerScript server(0, [](int) { return std::vector<std::string>{std::string("\x03\xAA\x7E\x80", 4)}; });
    CLIENT_FOR(server);
    client.synchronize("127.0.0.1");
    ASSERT_TRUE(WaitUntil([&] { return client.exchange().done(); }, 10000));
    EXPECT_EQ(client.exchange().outcome(), SyncOutcome::OutOfRange);
    EXPECT_TRUE(clock.sets.empty());
}

TEST_F(TimeSyncSocketTest, RepliesFromAnotherSocketAreNotHeard) {
    std::atomic<bool> release{false};
    TimeServerScript server(0, [&](int n) {
        if (n == 1) return std::vector<std::string>{TimeReply(kNow)};
        while (!release) Sleep(10);  // the second answer waits for the stranger's
        return std::vector<std::string>{TimeReply(n == 2 ? kNow : kNow + 1)};
    });
    CLIENT_FOR(server);
    client.synchronize("127.0.0.1");
    struct Release {
        std::atomic<bool>& flag;
        ~Release() { flag = true; }  // the server's thread must not wait forever on a failure
    } releaseAtEnd{release};
    ASSERT_TRUE(WaitUntil([&] { return server.requests() == 2; }, 10000));
    // Heard, the stranger's next second would set the clock before the server's third answer.
    server.sendFromAnotherSocket(TimeReply(kNow + 1));
    release = true;
    ASSERT_TRUE(WaitUntil([&] { return client.exchange().done(); }, 10000));
    EXPECT_EQ(clock.sets, std::vector<int64_t>{kNow + 1});
    EXPECT_EQ(server.requests(), 3);
}

TEST_F(TimeSyncSocketTest, AnUnknownHostIsASocketError) {
    socket.synchronize("no-such-host.invalid");
    ASSERT_TRUE(WaitUntil([&] { return socket.exchange().done(); }, 20000));
    EXPECT_EQ(socket.exchange().outcome(), SyncOutcome::SocketError);
    EXPECT_NE(socket.exchange().socketError(), 0);
}

}  // namespace
