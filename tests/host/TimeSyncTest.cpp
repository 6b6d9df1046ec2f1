#include "timesync/ClockSettingCommand.h"
#include "timesync/ServerCourtesy.h"
#include "timesync/ServerList.h"
#include "timesync/SyncReport.h"
#include "timesync/TimeSyncExchange.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>
#include <sstream>
#include <vector>

namespace {

constexpr double kTrueStart = 1765000000.0;  // the true time when a synchronisation starts

// A PC clock `error` seconds off the true time, and a performance counter in microseconds that
// the test moves; the clock runs with the counter and jumps when set.
struct SimulatedPc : ClockSetter, PerformanceCounter {
    int64_t micros = 0;
    double error = 0;
    bool refuse = false;
    std::vector<double> sets;
    double trueTime() const { return kTrueStart + double(micros) / 1e6; }
    double now() override { return trueTime() + error; }
    bool set(double unixTime, std::string& failure) override {
        if (refuse) {
            failure = "A required privilege is not held by the client.";
            return false;
        }
        sets.push_back(unixTime);
        error = unixTime - trueTime();
        return true;
    }
    int64_t counts() override { return micros; }
    int64_t countsPerSecond() override { return 1000000; }
    void advance(double seconds) { micros += int64_t(seconds * 1e6 + 0.5); }
};

void PutTimestamp(std::vector<unsigned char>& p, std::size_t at, NtpTimestamp t) {
    for (int i = 0; i < 4; ++i) {
        p[at + i] = static_cast<unsigned char>(t.seconds >> (24 - 8 * i));
        p[at + 4 + i] = static_cast<unsigned char>(t.fraction >> (24 - 8 * i));
    }
}

// A stratum-2 server's answer to `request`, its clock reading `serverTime` when it received
// and when it sent.
std::vector<unsigned char> NtpAnswer(const SyncRequest& request, double serverTime, int stratum = 2) {
    std::vector<unsigned char> p(kNtpPacketBytes, 0);
    p[0] = 4 << 3 | 4;
    p[1] = static_cast<unsigned char>(stratum);
    std::copy(request.bytes + 40, request.bytes + 48, p.begin() + 24);
    PutTimestamp(p, 32, NtpOfUnixTime(serverTime));
    PutTimestamp(p, 40, NtpOfUnixTime(serverTime));
    return p;
}

std::vector<unsigned char> TimeAnswer(double serverTime) {
    const uint32_t since1900 = uint32_t(int64_t(std::floor(serverTime)) + 2208988800LL);
    return {uint8_t(since1900 >> 24), uint8_t(since1900 >> 16), uint8_t(since1900 >> 8), uint8_t(since1900)};
}

class Exchange : public testing::Test {
protected:
    SimulatedPc pc;
    TimeSyncExchange exchange{pc, pc};
    void reply(SyncProtocol protocol, const std::vector<unsigned char>& p) {
        exchange.onReply(protocol, p.data(), p.size());
    }
    // The request due now; fails the test when none is.
    SyncRequest send() {
        SyncRequest request;
        EXPECT_TRUE(exchange.nextRequest(request));
        return request;
    }
    // Moves time on in milliseconds until a request is due (true) or the exchange ends.
    bool waitForRequest(SyncRequest& request, double limit = 30) {
        for (double waited = 0; waited < limit && !exchange.done(); waited += 0.001) {
            if (exchange.nextRequest(request)) return true;
            pc.advance(0.001);
        }
        return false;
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

// 40 ms out, 60 ms back: the offset is off by half the difference, well within the bound.
TEST_F(Exchange, AnNtpAnswerSetsTheClockWithinItsStatedBound) {
    pc.error = -3.2;  // the PC clock 3.2 s slow
    const SyncRequest request = send();
    EXPECT_EQ(request.protocol, SyncProtocol::Ntp);
    EXPECT_EQ(request.size, kNtpPacketBytes);
    pc.advance(0.040);
    const double serverTime = pc.trueTime();
    pc.advance(0.060);
    reply(SyncProtocol::Ntp, NtpAnswer(request, serverTime));
    ASSERT_EQ(exchange.outcome(), SyncOutcome::ClockSet);
    ASSERT_EQ(pc.sets.size(), 1u);
    EXPECT_NEAR(pc.error, -0.010, 1e-5);
    EXPECT_LE(std::fabs(pc.error), exchange.maxError());
    EXPECT_NEAR(exchange.maxError(), 0.0505, 1e-5) << "half the round trip and the millisecond step";
    EXPECT_NEAR(exchange.correction(), 3.19, 1e-5);
    EXPECT_NEAR(exchange.delay(), 0.100, 1e-5);
    EXPECT_EQ(exchange.stratum(), 2);
    EXPECT_EQ(exchange.protocol(), SyncProtocol::Ntp);
    EXPECT_EQ(exchange.requests(SyncProtocol::Ntp), 1);
    EXPECT_EQ(exchange.requests(SyncProtocol::TimeProtocol), 0);
    SyncRequest more;
    EXPECT_FALSE(exchange.nextRequest(more)) << "nothing after the end";
}

// A silent server: two NTP requests, then four Time Protocol ones, each 4 s after the one
// before, and a time-out 4 s after the last.
TEST_F(Exchange, ASilentServerIsAskedOnceEveryFourSecondsThenTimesOut) {
    std::vector<std::pair<SyncProtocol, double>> sent;
    SyncRequest request;
    const double start = pc.trueTime();
    while (waitForRequest(request)) sent.emplace_back(request.protocol, pc.trueTime() - start);
    ASSERT_EQ(sent.size(), 6u);
    const SyncProtocol expected[] = {SyncProtocol::Ntp, SyncProtocol::Ntp, SyncProtocol::TimeProtocol,
                                     SyncProtocol::TimeProtocol, SyncProtocol::TimeProtocol, SyncProtocol::TimeProtocol};
    for (std::size_t i = 0; i < sent.size(); ++i) {
        EXPECT_EQ(sent[i].first, expected[i]) << i;
        EXPECT_NEAR(sent[i].second, 4.0 * double(i), 0.002) << i;
    }
    EXPECT_EQ(exchange.outcome(), SyncOutcome::TimedOut);
    EXPECT_NEAR(pc.trueTime() - start, 24.0, 0.002);
    EXPECT_TRUE(pc.sets.empty());
}

// Spoofed and stale answers change nothing; a refusal or an unsynchronised server ends it all.
TEST_F(Exchange, NtpAnswersThatAreNoAnswerOrARefusal) {
    const SyncRequest request = send();
    SyncRequest other = request;
    other.bytes[47] ^= 1;
    reply(SyncProtocol::Ntp, NtpAnswer(other, pc.trueTime()));
    reply(SyncProtocol::Ntp, std::vector<unsigned char>(30, 0x24));
    EXPECT_FALSE(exchange.done());
    std::vector<unsigned char> kiss = NtpAnswer(request, 0, 0);
    std::copy_n("RATE", 4, kiss.begin() + 12);
    reply(SyncProtocol::Ntp, kiss);
    EXPECT_EQ(exchange.outcome(), SyncOutcome::KissOfDeath);
    EXPECT_EQ(exchange.kissCode(), "RATE");
    SyncRequest more;
    pc.advance(10);
    EXPECT_FALSE(exchange.nextRequest(more)) << "a refusing server is asked no more";

    exchange.start();
    const SyncRequest again = send();
    reply(SyncProtocol::Ntp, NtpAnswer(again, pc.trueTime(), 16));
    EXPECT_EQ(exchange.outcome(), SyncOutcome::Unsynchronised);
    EXPECT_TRUE(pc.sets.empty());
}

// The first request's answer, 4.5 s late, comes after the second went: still an answer, its
// bound from its own round trip.
TEST_F(Exchange, ALateAnswerToTheFirstNtpRequestCounts) {
    const SyncRequest first = send();
    const double serverTime = pc.trueTime() + 2;  // read at 2 s, by a server 2 s ahead
    SyncRequest second;
    ASSERT_TRUE(waitForRequest(second));
    EXPECT_EQ(second.protocol, SyncProtocol::Ntp);
    pc.advance(0.5);
    reply(SyncProtocol::Ntp, NtpAnswer(first, serverTime + 2));
    ASSERT_EQ(exchange.outcome(), SyncOutcome::ClockSet);
    EXPECT_NEAR(exchange.delay(), 4.5, 1e-3);
    EXPECT_LE(std::fabs(pc.error), exchange.maxError());
}

// A server that answers only the Time Protocol, 20 ms each way: four well-timed requests
// narrow the offset to an eighth of a second and the round trips, whatever its fraction.
TEST_F(Exchange, TheTimeProtocolHalvesWhereTheSecondTurnsWithEachAnswer) {
    for (const double error : {0.1, 0.5, 0.93, -2.7, 37.25}) {
        pc = SimulatedPc();
        pc.error = error;
        exchange.start();
        SyncRequest request;
        double last = -100;
        while (!exchange.done() && waitForRequest(request)) {
            EXPECT_GE(pc.trueTime() - last, 4.0 - 1e-9) << error;
            last = pc.trueTime();
            if (request.protocol != SyncProtocol::TimeProtocol) continue;
            pc.advance(0.020);
            const std::vector<unsigned char> answer = TimeAnswer(pc.trueTime());
            pc.advance(0.020);
            reply(SyncProtocol::TimeProtocol, answer);
        }
        ASSERT_EQ(exchange.outcome(), SyncOutcome::ClockSet) << error;
        EXPECT_EQ(exchange.protocol(), SyncProtocol::TimeProtocol);
        EXPECT_EQ(exchange.requests(SyncProtocol::TimeProtocol), 4) << error;
        EXPECT_LE(std::fabs(pc.error), exchange.maxError()) << error;
        EXPECT_LT(exchange.maxError(), 1.0 / 16 + 0.045) << error;
    }
}

// Each answer comes 4.1 s late, after the next request went: counted from its own request, the
// bound stays true (were it counted from the latest request, the clock would be set 2 s off
// with a bound of a fraction of a second).
TEST_F(Exchange, LateTimeProtocolAnswersCountFromTheirOwnRequest) {
    pc.error = 0.4;
    std::vector<std::pair<double, double>> due;  // when an answer arrives, and what it says
    SyncRequest request;
    while (!exchange.done()) {
        if (exchange.nextRequest(request) && request.protocol == SyncProtocol::TimeProtocol) {
            due.emplace_back(pc.trueTime() + 4.1, pc.trueTime() + 0.05);
        }
        for (auto& d : due) {
            if (d.first >= 0 && pc.trueTime() >= d.first) {
                reply(SyncProtocol::TimeProtocol, TimeAnswer(d.second));
                d.first = -1;
            }
        }
        pc.advance(0.001);
    }
    ASSERT_EQ(exchange.outcome(), SyncOutcome::ClockSet);
    EXPECT_LE(std::fabs(pc.error), exchange.maxError());
}

// Two answers that agree set the clock; one alone is as good as silence, and answers that
// contradict each other set nothing. Each entry: the server's clock against the true time when
// it answers each Time Protocol request, or silence.
TEST_F(Exchange, TheTimeProtocolNeedsTwoAnswersThatAgree) {
    const double silent = std::nan("");
    struct Case {
        const char* what;
        double shifts[4];
        SyncOutcome expected;
    } cases[] = {
        {"a step, then two answers that agree", {0, 10, 10, silent}, SyncOutcome::ClockSet},
        {"one answer", {0, silent, silent, silent}, SyncOutcome::TimedOut},
        {"each answer another time", {0, 10, 20, 30}, SyncOutcome::AnswersDisagree},
        {"two that agree, then a third that does not", {0, 0, -30, silent}, SyncOutcome::AnswersDisagree},
    };
    for (const Case& c : cases) {
        pc = SimulatedPc();
        pc.error = 0.3;
        exchange.start();
        SyncRequest request;
        for (int asked = 0; !exchange.done() && waitForRequest(request);) {
            if (request.protocol != SyncProtocol::TimeProtocol) continue;
            const double shift = c.shifts[asked++];
            pc.advance(0.020);
            if (!std::isnan(shift)) reply(SyncProtocol::TimeProtocol, TimeAnswer(pc.trueTime() + shift));
        }
        EXPECT_EQ(exchange.outcome(), c.expected) << c.what;
        EXPECT_EQ(pc.sets.size(), c.expected == SyncOutcome::ClockSet ? 1u : 0u) << c.what;
        if (!pc.sets.empty()) {
            EXPECT_LE(std::fabs(pc.error - c.shifts[1]), exchange.maxError()) << c.what;
        }
    }
}

// The clock moves more than a day only when the user says so; what the answer said still holds
// after the time it took to ask. A day at most is set at once.
TEST_F(Exchange, ACorrectionOfMoreThanADayWaitsForConfirmation) {
    const struct {
        double off;
        bool confirmed;
        SyncOutcome expected;
    } cases[] = {{2 * 86400.0, true, SyncOutcome::ClockSet},
                 {-3 * 86400.0, false, SyncOutcome::NotConfirmed},
                 {-86399, false, SyncOutcome::ClockSet}};
    for (const auto& c : cases) {
        pc = SimulatedPc();
        exchange.start();
        const SyncRequest request = send();
        reply(SyncProtocol::Ntp, NtpAnswer(request, pc.trueTime() + c.off));
        if (std::fabs(c.off) > 86400) {
            ASSERT_EQ(exchange.outcome(), SyncOutcome::ConfirmationNeeded) << c.off;
            EXPECT_TRUE(exchange.done() && pc.sets.empty()) << "nothing set, no more requests while the user is asked";
            EXPECT_NEAR(exchange.correction(), c.off, 1e-3);
            pc.advance(25);
        }
        exchange.confirmCorrection(c.confirmed);
        EXPECT_EQ(exchange.outcome(), c.expected) << c.off;
        EXPECT_EQ(pc.sets.size(), c.expected == SyncOutcome::ClockSet ? 1u : 0u) << c.off;
        if (!pc.sets.empty()) {
            EXPECT_NEAR(pc.error, c.off, exchange.maxError()) << c.off;
        }
    }
}

TEST_F(Exchange, TimeProtocolAnswersOfTheWrongSizeOrOutOfRange) {
    SyncRequest request;
    while (waitForRequest(request) && request.protocol != SyncProtocol::TimeProtocol) {
    }
    ASSERT_EQ(request.protocol, SyncProtocol::TimeProtocol);
    const std::vector<unsigned char> bytes = {0xD2, 0xB4, 0x4B, 0x80, 0, 0, 0, 0};
    for (std::size_t size : {0u, 3u, 5u, 8u}) {
        reply(SyncProtocol::TimeProtocol, std::vector<unsigned char>(bytes.begin(), bytes.begin() + long(size)));
    }
    EXPECT_FALSE(exchange.done());
    reply(SyncProtocol::TimeProtocol, {0x03, 0xAA, 0x7E, 0x80});  // after 2038
    EXPECT_EQ(exchange.outcome(), SyncOutcome::OutOfRange);
    EXPECT_TRUE(pc.sets.empty());
}

TEST_F(Exchange, ARefusedSettingIsAFailureWithTheReasonAndStartClearsIt) {
    pc.refuse = true;
    const SyncRequest request = send();
    reply(SyncProtocol::Ntp, NtpAnswer(request, pc.trueTime() + 3600));
    EXPECT_EQ(exchange.outcome(), SyncOutcome::SetFailed);
    EXPECT_EQ(exchange.failure(), "A required privilege is not held by the client.");
    EXPECT_EQ(exchange.correction(), 0) << "no correction is claimed";
    exchange.fail(10054);
    EXPECT_EQ(exchange.socketError(), 0) << "an ended exchange stays as it ended";
    exchange.start();
    EXPECT_FALSE(exchange.done());
    EXPECT_TRUE(exchange.failure().empty());
    exchange.fail(10054);
    EXPECT_EQ(exchange.outcome(), SyncOutcome::SocketError);
    EXPECT_EQ(exchange.socketError(), 10054);
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
    for (const std::string& end : {std::string("\r\n"), std::string("\n")}) {
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

// What the elevated program accepts from its command line: a dotted address, a window and a
// ticket, nothing that could be taken for a switch, a name to look up, a path or a fourth word.
TEST(ClockSettingCommand, OnlyAnAddressAWindowAndATicket) {
    using Args = std::vector<std::string>;
    ClockSettingCommand command;
    ASSERT_TRUE(ReadClockSettingCommand({"192.0.2.17", "131202", "77"}, command));
    EXPECT_EQ(command.address, "192.0.2.17");
    EXPECT_EQ(command.window, 131202u);
    EXPECT_EQ(command.ticket, 77u);
    const Args refused[] = {
        {"127.0.0.1", "1"},
        {"127.0.0.1", "1", "2", "extra"},
        {"/setclock", "127.0.0.1", "1", "2"},
        {"time.nist.gov", "1", "2"},
        {"256.0.0.1", "1", "2"},
        {"1.2.3", "1", "2"},
        {"1.2.3.4.5", "1", "2"},
        {"1..3.4", "1", "2"},
        {"-1.2.3.4", "1", "2"},
        {"1.2.3.4 ", "1", "2"},
        {"010.0.0.1", "1", "2"},
        {"1.2.3.08", "1", "2"},
        {"c:\\evil.dll", "1", "2"},
        {"127.0.0.1", "0", "2"},
        {"127.0.0.1", "12x", "2"},
        {"127.0.0.1", "1", "0"},
        {"127.0.0.1", "1", "18446744073709551616"},
    };
    for (const Args& args : refused) EXPECT_FALSE(ReadClockSettingCommand(args, command)) << args[0] << " " << args.size();
    std::istringstream words(ClockSettingParameters({"10.1.2.3", 77, 18446744073709551615u}));
    const Args made{std::istream_iterator<std::string>(words), std::istream_iterator<std::string>()};
    ASSERT_TRUE(ReadClockSettingCommand(made, command));
    EXPECT_EQ(command.ticket, 18446744073709551615u);
}

// The system's clock takes whole milliseconds: rounded to the nearest, never cut.
TEST(ClockSetting, FileTimeIsTheNearestWholeMillisecond) {
    EXPECT_EQ(FileTimeOfUnixTime(0), 116444736000000000);
    EXPECT_EQ(FileTimeOfUnixTime(1765000000.0009), 116444736000000000 + 17650000000010000);
    EXPECT_EQ(FileTimeOfUnixTime(1765000000.0004), 116444736000000000 + 17650000000000000);
    EXPECT_EQ(FileTimeOfUnixTime(-0.0006), 116444736000000000 - 10000);
    EXPECT_EQ(FileTimeOfUnixTime(std::nan("")), -1);
    EXPECT_EQ(FileTimeOfUnixTime(1e300), -1);
}

// The report crosses from another process: only a whole, sensible one is read.
TEST(SyncReport, OnlyAWholeSensibleReportIsRead) {
    SyncReport sent;
    sent.outcome = int32_t(SyncOutcome::ClockSet);
    sent.maxError = 0.002;
    std::strcpy(sent.failure, "reason");
    SyncReport read;
    ASSERT_TRUE(ReadSyncReport(&sent, sizeof sent, read));
    EXPECT_EQ(read.maxError, 0.002);
    EXPECT_STREQ(read.failure, "reason");
    EXPECT_FALSE(ReadSyncReport(&sent, sizeof sent - 1, read));
    EXPECT_FALSE(ReadSyncReport(nullptr, sizeof sent, read));
    SyncReport progress = sent;
    progress.outcome = int32_t(SyncOutcome::Running);
    EXPECT_TRUE(ReadSyncReport(&progress, sizeof progress, read)) << "how far it has got";
    SyncReport bad = sent;
    bad.outcome = int32_t(SyncOutcome::ConfirmationNeeded);
    EXPECT_FALSE(ReadSyncReport(&bad, sizeof bad, read)) << "settled before any report";
    bad = sent;
    bad.outcome = 99;
    EXPECT_FALSE(ReadSyncReport(&bad, sizeof bad, read));
    bad = sent;
    bad.correction = std::nan("");
    EXPECT_FALSE(ReadSyncReport(&bad, sizeof bad, read));
    bad = sent;
    std::memset(bad.failure, 'x', sizeof bad.failure);
    EXPECT_FALSE(ReadSyncReport(&bad, sizeof bad, read));
}

TEST(SyncReport, TheCorrectionShownKeepsItsSign) {
    const std::pair<double, int> cases[] = {{0, 1}, {-0.4, -1}, {0.999, 1}, {1.0, 2}, {-5.3, -6}, {1e12, 2000000001}};
    for (const auto& c : cases) EXPECT_EQ(CorrectionSecondsShown(c.first), c.second) << c.first;
}

// Pressing Set again waits for the server's turn; a refusing server stays refused; names
// differ only in case and blanks.
TEST(ServerCourtesy, FourSecondsBetweenContactsAndRefusalsKept) {
    ServerCourtesy courtesy(4);
    EXPECT_EQ(courtesy.waitBefore("pool.ntp.org", 100), 0);
    courtesy.contacted("pool.ntp.org", 100);
    EXPECT_DOUBLE_EQ(courtesy.waitBefore(" POOL.ntp.org ", 101.5), 2.5);
    EXPECT_EQ(courtesy.waitBefore("time.nist.gov", 101.5), 0);
    EXPECT_EQ(courtesy.waitBefore("pool.ntp.org", 104), 0);
    std::string code;
    EXPECT_FALSE(courtesy.hasRefused("pool.ntp.org", code));
    courtesy.refused("Pool.NTP.org", "RATE");
    EXPECT_TRUE(courtesy.hasRefused("pool.ntp.org", code));
    EXPECT_EQ(code, "RATE");
}

}  // namespace
