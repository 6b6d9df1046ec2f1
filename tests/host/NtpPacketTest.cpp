#include "timesync/NtpPacket.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

constexpr double kSent = 1765000000.25;  // 2025-12-06, the client's clock when it asked

// A server's reply to `request`: mode 4, version 4, stratum 2, received at `t2` and sent at
// `t3` by the server's clock.
std::vector<unsigned char> Reply(NtpTimestamp request, double t2, double t3) {
    std::vector<unsigned char> p(kNtpPacketBytes, 0);
    p[0] = 4 << 3 | 4;
    p[1] = 2;
    const auto put = [&](std::size_t at, NtpTimestamp t) {
        for (int i = 0; i < 4; ++i) {
            p[at + i] = static_cast<unsigned char>(t.seconds >> (24 - 8 * i));
            p[at + 4 + i] = static_cast<unsigned char>(t.fraction >> (24 - 8 * i));
        }
    };
    put(24, request);
    put(32, NtpOfUnixTime(t2));
    put(40, NtpOfUnixTime(t3));
    return p;
}

TEST(NtpPacket, TheRequestIsAVersion4ClientPacketStampedWithTheClientsTime) {
    unsigned char packet[kNtpPacketBytes];
    std::memset(packet, 0xAB, sizeof packet);
    const NtpTimestamp stamp = MakeNtpRequest(kSent, 0, packet);
    EXPECT_EQ(packet[0], 0x23);
    for (std::size_t i = 1; i < 40; ++i) EXPECT_EQ(packet[i], 0) << i;
    EXPECT_EQ(stamp.seconds, uint32_t(1765000000u + 2208988800u));
    EXPECT_EQ(stamp.fraction, 1u << 30) << "a quarter of a second";
    EXPECT_EQ(packet[40], stamp.seconds >> 24);
    EXPECT_EQ(packet[47], stamp.fraction & 0xFF);
    // The fraction's low 24 bits come from the noise; the rest is still the time.
    const NtpTimestamp noisy = MakeNtpRequest(kSent, 0xABCDEF12u, packet);
    EXPECT_EQ(noisy.seconds, stamp.seconds);
    EXPECT_EQ(noisy.fraction, 1u << 30 | 0xCDEF12u);
    EXPECT_EQ(packet[47], 0x12);
}

// The server's clock 3.5 s ahead; 40 ms out, 10 ms in the server, 50 ms back.
TEST(NtpPacket, OffsetAndDelayFromTheFourTimes) {
    unsigned char packet[kNtpPacketBytes];
    const NtpTimestamp request = MakeNtpRequest(kSent, 0, packet);
    const double t2 = kSent + 0.040 + 3.5, t3 = t2 + 0.010, t4 = kSent + 0.100;
    std::vector<unsigned char> p = Reply(request, t2, t3);
    p[6] = 0x80;  // root delay 0.5 s
    p[10] = 0x10;  // root dispersion 1/16 s
    const NtpReply reply = ReadNtpReply(p.data(), p.size(), request, kSent, t4);
    ASSERT_EQ(reply.kind, NtpReplyKind::Accepted);
    EXPECT_EQ(reply.stratum, 2);
    EXPECT_NEAR(reply.offset, 3.5 - 0.005, 1e-6) << "the asymmetry counts half";
    EXPECT_NEAR(reply.delay, 0.090, 1e-6);
    EXPECT_DOUBLE_EQ(reply.rootDistance, 0.25 + 0.0625);
}

// Each fault alone makes the reply no answer; stratum 0 is a refusal with its code.
TEST(NtpPacket, OnlyAnEchoingSynchronisedServerReplyIsAccepted) {
    unsigned char packet[kNtpPacketBytes];
    const NtpTimestamp request = MakeNtpRequest(kSent, 0, packet);
    const std::vector<unsigned char> good = Reply(request, kSent + 1, kSent + 1);
    const auto judge = [&](std::vector<unsigned char> p) {
        return ReadNtpReply(p.data(), p.size(), request, kSent, kSent + 0.1).kind;
    };
    ASSERT_EQ(judge(good), NtpReplyKind::Accepted);
    std::vector<unsigned char> p = good;
    p[31] ^= 1;
    EXPECT_EQ(judge(p), NtpReplyKind::Ignored) << "origin of another request (stale or forged)";
    p = good, p[0] = 4 << 3 | 3;
    EXPECT_EQ(judge(p), NtpReplyKind::Ignored) << "client mode";
    p = good, p[0] = 3 << 3 | 4;
    EXPECT_EQ(judge(p), NtpReplyKind::Accepted) << "version 3 is fine";
    p = good, p[0] = 2 << 3 | 4;
    EXPECT_EQ(judge(p), NtpReplyKind::Ignored) << "version 2";
    p = good, p[0] = 3 << 6 | 4 << 3 | 4;
    EXPECT_EQ(judge(p), NtpReplyKind::Unsynchronised) << "leap indicator 3: unsynchronised";
    p = good, p[1] = 16;
    EXPECT_EQ(judge(p), NtpReplyKind::Unsynchronised) << "stratum 16";
    p = good;
    std::fill(p.begin() + 40, p.end(), 0);
    EXPECT_EQ(judge(p), NtpReplyKind::Unsynchronised) << "no transmit time";
    p = good;
    p.resize(47);
    EXPECT_EQ(judge(p), NtpReplyKind::Ignored) << "short";
    EXPECT_EQ(ReadNtpReply(nullptr, 48, request, kSent, kSent).kind, NtpReplyKind::Ignored);

    p = good, p[1] = 0;
    std::memcpy(&p[12], "RATE", 4);
    const NtpReply kiss = ReadNtpReply(p.data(), p.size(), request, kSent, kSent + 0.1);
    EXPECT_EQ(kiss.kind, NtpReplyKind::KissOfDeath);
    EXPECT_EQ(kiss.kissCode, "RATE");
    p[31] ^= 1;
    EXPECT_EQ(judge(p), NtpReplyKind::Ignored) << "a refusal of another request counts for nothing";
}

// The 32-bit count wraps on 2036-02-07 06:28:16 UTC: the era nearest the PC's clock is taken.
TEST(NtpPacket, TheEraNearestThePcsClock) {
    const double wrap = 2085978496.0;  // Unix time of the wrap
    EXPECT_EQ(NtpOfUnixTime(wrap).seconds, 0u);
    EXPECT_DOUBLE_EQ(UnixTimeOfNtp(NtpOfUnixTime(wrap + 100.5), wrap - 50), wrap + 100.5);
    EXPECT_DOUBLE_EQ(UnixTimeOfNtp(NtpOfUnixTime(wrap - 100.5), wrap + 50), wrap - 100.5);
    EXPECT_DOUBLE_EQ(UnixTimeOfNtp(NtpOfUnixTime(kSent), kSent + 3600), kSent);

    // A reply across the wrap: the request just before it, the server's times just after.
    unsigned char packet[kNtpPacketBytes];
    const NtpTimestamp request = MakeNtpRequest(wrap - 0.02, 0x5A5A5A, packet);
    const std::vector<unsigned char> p = Reply(request, wrap + 0.01, wrap + 0.01);
    const NtpReply reply = ReadNtpReply(p.data(), p.size(), request, wrap - 0.02, wrap + 0.02);
    ASSERT_EQ(reply.kind, NtpReplyKind::Accepted);
    EXPECT_NEAR(reply.offset, 0.01, 1e-6);
    EXPECT_NEAR(reply.delay, 0.04, 1e-6);
}

}  // namespace
