#include "timesync/ServerList.h"
#include "timesync/TimeSyncExchange.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A clock that records what it is set to, and a counter the test moves by hand.
struct RecordingClock : ClockSetter {
    int64_t clock = 0;
    bool refuse = false;
    std::vector<int64_t> sets;
    int64_t now() override { return clock; }
    bool set(int64_t unixTime, std::string& failure) override {
        if (refuse) {
            failure = "A required privilege is not held by the client.";
            return false;
        }
        sets.push_back(unixTime);
        clock = unixTime;
        return true;
    }
};

struct HandCounter : PerformanceCounter {
    int64_t value = 0;
    int64_t counts() override { return value; }
    int64_t countsPerSecond() override { return 1000000; }
};

struct Reply {
    unsigned char bytes[4];
};

Reply ReplyFor(int64_t unixTime) {
    const uint32_t since1900 = uint32_t(unixTime + 2208988800LL);
    return {{uint8_t(since1900 >> 24), uint8_t(since1900 >> 16), uint8_t(since1900 >> 8), uint8_t(since1900)}};
}

class Exchange : public testing::Test {
protected:
    RecordingClock clock;
    HandCounter counter;
    TimeSyncExchange exchange{clock, counter};
    void SetUp() override {
        exchange.start();
        exchange.requestSent();
    }
    // A reply that comes `roundTrip` counts after the last request; true when another is asked.
    bool reply(int64_t unixTime, int64_t roundTrip = 100) {
        counter.value += roundTrip;
        const Reply r = ReplyFor(unixTime);
        const bool again = exchange.onReply(r.bytes, 4);
        if (again) exchange.requestSent();
        return again;
    }
};

TEST(TimeProtocol, DecodesSecondsSince1900AsUnixTime) {
    const unsigned char example[4] = {0xD2, 0xB4, 0x4B, 0x80};
    EXPECT_EQ(UnixTimeFromTimeProtocol(example), 1326042368);
    const unsigned char epoch[4] = {0x83, 0xAA, 0x7E, 0x80};  // 2208988800
    EXPECT_EQ(UnixTimeFromTimeProtocol(epoch), 0);
    const unsigned char wrapped[4] = {0, 0, 0, 0};  // 2036-02-07, the count's first turn
    EXPECT_EQ(UnixTimeFromTimeProtocol(wrapped), 2085978496);
    const unsigned char lastSecond[4] = {0x03, 0xAA, 0x7E, 0x7F};  // 2038-01-19 03:14:07
    EXPECT_EQ(UnixTimeFromTimeProtocol(lastSecond), 2147483647);
    const unsigned char beyond[4] = {0x03, 0xAA, 0x7E, 0x80};
    EXPECT_LT(UnixTimeFromTimeProtocol(beyond), 0);
    const unsigned char before1970[4] = {0x80, 0, 0, 0};
    EXPECT_LT(UnixTimeFromTimeProtocol(before1970), 0);
}

TEST_F(Exchange, SetsTheClockWhenTheSecondTurnsWithTheLastTwoRoundTripsAsError) {
    clock.clock = 1700000005;  // 5 seconds fast
    EXPECT_TRUE(reply(1700000000, 300));
    EXPECT_TRUE(reply(1700000000, 200));
    EXPECT_FALSE(reply(1700000001, 1500));
    EXPECT_EQ(exchange.outcome(), SyncOutcome::ClockSet);
    EXPECT_EQ(clock.sets, std::vector<int64_t>{1700000001});
    // The second turned after the server answered the second request: from its sending on.
    EXPECT_FLOAT_EQ(exchange.maxError(), 0.0017f);
    EXPECT_EQ(exchange.correction(), -4);  // the clock read 1700000005 when the server said ...01
    EXPECT_EQ(exchange.requests(), 3);
    // Nothing more happens after the end.
    EXPECT_FALSE(reply(1700000002));
    EXPECT_EQ(clock.sets.size(), 1u);
}

TEST_F(Exchange, CorrectionIsSignedAndMeasuredAgainstTheClock) {
    clock.clock = 1700000006;
    reply(1700000000);
    reply(1700000001);
    EXPECT_EQ(exchange.correction(), -5) << "a clock 5 s fast";
    exchange.start();
    clock.clock = 1699999990;
    reply(1700000000);
    reply(1700000001);
    EXPECT_EQ(exchange.correction(), 11);
}

TEST_F(Exchange, OneReplyOrTheSameSecondForeverNeverSets) {
    EXPECT_TRUE(reply(1700000000));
    for (int i = 0; i < 100; ++i) EXPECT_TRUE(reply(1700000000));
    EXPECT_FALSE(exchange.done());
    EXPECT_TRUE(clock.sets.empty());
    EXPECT_EQ(exchange.requests(), 102);
}

TEST_F(Exchange, OnlyAOneSecondStepSetsTheClock) {
    EXPECT_TRUE(reply(1700000000));
    EXPECT_TRUE(reply(1600000000)) << "a jump back starts the watch again";
    EXPECT_TRUE(reply(1600000005)) << "so does a jump forward";
    EXPECT_FALSE(reply(1600000006));
    EXPECT_EQ(clock.sets, std::vector<int64_t>{1600000006});
}

TEST_F(Exchange, ALostRequestSentAgainStartsTheWatchAgain) {
    EXPECT_TRUE(reply(1700000000));
    counter.value += 250000;  // no answer for a quarter of a second
    exchange.resent();
    EXPECT_TRUE(reply(1700000001)) << "not a turn: the second may have turned long ago";
    EXPECT_FALSE(reply(1700000002, 300));
    EXPECT_EQ(clock.sets, std::vector<int64_t>{1700000002});
    EXPECT_FLOAT_EQ(exchange.maxError(), 0.2504f) << "the answer may have been the first request's";
    EXPECT_EQ(exchange.requests(), 4);
}

// A reply after a resend may answer the first request, late: the error bound runs from the
// first request still unanswered, not from the resend.
TEST_F(Exchange, ALateReplyAfterAResendCountsFromTheFirstUnansweredRequest) {
    EXPECT_TRUE(reply(1700000000));  // the next request goes at 100 us
    counter.value += 250000;
    exchange.resent();               // at 250.1 ms
    EXPECT_TRUE(reply(1700000000, 100000)) << "350 ms after the request at 100 us";
    EXPECT_FALSE(reply(1700000001, 50));
    EXPECT_EQ(clock.sets, std::vector<int64_t>{1700000001});
    EXPECT_FLOAT_EQ(exchange.maxError(), 0.35005f);
}

TEST_F(Exchange, ShortAndLongDatagramsAreIgnored) {
    const unsigned char bytes[8] = {0xD2, 0xB4, 0x4B, 0x80, 0, 0, 0, 0};
    for (std::size_t size : {0u, 1u, 3u, 5u, 8u}) {
        EXPECT_FALSE(exchange.onReply(bytes, size)) << size;
        EXPECT_FALSE(exchange.done()) << size;
    }
    EXPECT_TRUE(reply(1326042368));
    EXPECT_FALSE(reply(1326042369));
    EXPECT_EQ(exchange.outcome(), SyncOutcome::ClockSet);
}

TEST_F(Exchange, AnAnswerOutOfRangeEndsWithoutSetting) {
    const unsigned char after2038[4] = {0x03, 0xAA, 0x7E, 0x80};
    EXPECT_FALSE(exchange.onReply(after2038, 4));
    EXPECT_EQ(exchange.outcome(), SyncOutcome::OutOfRange);
    exchange.start();
    EXPECT_TRUE(reply(1700000000));
    const unsigned char before1970[4] = {0x10, 0, 0, 0};
    EXPECT_FALSE(exchange.onReply(before1970, 4));
    EXPECT_EQ(exchange.outcome(), SyncOutcome::OutOfRange);
    EXPECT_TRUE(clock.sets.empty());
}

TEST_F(Exchange, ARefusedSettingIsAFailureWithTheReason) {
    clock.refuse = true;
    clock.clock = 1700000000;
    reply(1700003600);
    reply(1700003601);
    EXPECT_EQ(exchange.outcome(), SyncOutcome::SetFailed);
    EXPECT_EQ(exchange.failure(), "A required privilege is not held by the client.");
    EXPECT_EQ(exchange.correction(), 0) << "no correction is claimed";
}

TEST_F(Exchange, SocketFailureEndsTheExchangeAndStartClearsIt) {
    exchange.fail(10054);
    EXPECT_EQ(exchange.outcome(), SyncOutcome::SocketError);
    EXPECT_EQ(exchange.socketError(), 10054);
    EXPECT_FALSE(reply(1700000000));
    exchange.start();
    EXPECT_FALSE(exchange.done());
    EXPECT_EQ(exchange.socketError(), 0);
    EXPECT_TRUE(reply(1700000000)) << "the previous synchronisation's replies are forgotten";
}

TEST(ServerList, PairsOfLines) {
    using namespace std::string_literals;
    struct Case { std::string bytes; std::vector<std::pair<std::string, std::string>> servers; };
    const Case cases[] = {
        {"timehost\nSomewhere"s, {{"timehost", "Somewhere"}}},
        {"timehost\r\nSomewhere\r\n"s, {{"timehost", "Somewhere"}}},
        {"a\nA\nb\nB\n"s, {{"a", "A"}, {"b", "B"}}},
        {""s, {}},
        {"lonely\n"s, {{"lonely", ""}}},
        {"\n\n"s, {{"", ""}}},
        {"na\0me\ndes\0c\n"s, {{"na", "des"}}},
    };
    for (const Case& c : cases) {
        const std::vector<TimeServer> got = ParseServerList(c.bytes);
        ASSERT_EQ(got.size(), c.servers.size()) << c.bytes;
        for (std::size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].host, c.servers[i].first) << c.bytes;
            EXPECT_EQ(got[i].description, c.servers[i].second) << c.bytes;
        }
    }
    const std::string longHost(100, 'h');
    // A 100-character host line: 79 characters, then the other 21 as the description.
    const std::vector<TimeServer> cut = ParseServerList(longHost + "\nSomewhere\n");
    ASSERT_EQ(cut.size(), 2u);
    EXPECT_EQ(cut[0].host, std::string(79, 'h'));
    EXPECT_EQ(cut[0].description, std::string(21, 'h'));
    EXPECT_EQ(cut[1].host, "Somewhere");
    // No line ends at all: bounded pieces.
    const std::vector<TimeServer> garbage = ParseServerList(std::string(1000, '\x01'));
    EXPECT_EQ(garbage.size(), 7u);  // 13 pieces of at most 79 characters
    for (const TimeServer& s : garbage) EXPECT_LE(s.host.size(), 79u);
    // A line of exactly 79 characters ends at its CR LF as at a lone LF: the pairs stay pairs.
    const std::string exact(79, 'd');
    for (const std::string end : {std::string("\r\n"), std::string("\n")}) {
        const std::vector<TimeServer> pairs = ParseServerList("a.example" + end + exact + end + "b.example" + end + "B" + end);
        ASSERT_EQ(pairs.size(), 2u) << end.size();
        EXPECT_EQ(pairs[0].description, exact);
        EXPECT_EQ(pairs[1].host, "b.example");
        EXPECT_EQ(pairs[1].description, "B");
    }
}

// A huge list offers its first thousand servers and says how many more it held.
TEST(ServerList, AtMostAThousandServers) {
    std::string bytes;
    for (int i = 0; i < 1500; ++i) bytes += "h" + std::to_string(i) + "\nd\n";
    std::size_t leftOut = 0;
    const std::vector<TimeServer> servers = ParseServerList(bytes, &leftOut);
    ASSERT_EQ(servers.size(), kMostTimeServers);
    EXPECT_EQ(servers.back().host, "h999");
    EXPECT_EQ(leftOut, 500u);
    ParseServerList("a\nA\n", &leftOut);
    EXPECT_EQ(leftOut, 0u);
}

}  // namespace
