#include "timesync/NtpPacket.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kEraSeconds = 4294967296.0;        // 2^32
constexpr double kUnixEpochInNtp = 2208988800.0;    // 1970-01-01 in seconds since 1900
constexpr int kModeClient = 3, kModeServer = 4;

NtpTimestamp ReadTimestamp(const unsigned char* p) {
    const auto word = [](const unsigned char* q) {
        return uint32_t(q[0]) << 24 | uint32_t(q[1]) << 16 | uint32_t(q[2]) << 8 | uint32_t(q[3]);
    };
    return {word(p), word(p + 4)};
}

void WriteTimestamp(NtpTimestamp t, unsigned char* p) {
    for (int i = 0; i < 4; ++i) {
        p[i] = static_cast<unsigned char>(t.seconds >> (24 - 8 * i));
        p[4 + i] = static_cast<unsigned char>(t.fraction >> (24 - 8 * i));
    }
}

}  // namespace

double UnixTimeOfNtp(NtpTimestamp time, double nearUnixTime) {
    const double inEra = time.seconds + time.fraction / kEraSeconds - kUnixEpochInNtp;
    const double eras = std::round((nearUnixTime - inEra) / kEraSeconds);
    return inEra + eras * kEraSeconds;
}

NtpTimestamp NtpOfUnixTime(double unixTime) {
    const double sinceEraStart = std::fmod(unixTime + kUnixEpochInNtp, kEraSeconds);
    const double wrapped = sinceEraStart < 0 ? sinceEraStart + kEraSeconds : sinceEraStart;
    const double whole = std::floor(wrapped);
    const double fraction = std::floor((wrapped - whole) * kEraSeconds);
    return {uint32_t(whole), uint32_t(std::min(fraction, kEraSeconds - 1))};
}

NtpTimestamp MakeNtpRequest(double sentUnixTime, uint32_t noise, unsigned char packet[kNtpPacketBytes]) {
    constexpr uint32_t kNoiseBits = 0x00FFFFFF;
    std::fill(packet, packet + kNtpPacketBytes, 0);
    packet[0] = 4 << 3 | kModeClient;  // leap indicator 0, version 4, client
    NtpTimestamp transmit = NtpOfUnixTime(sentUnixTime);
    transmit.fraction = (transmit.fraction & ~kNoiseBits) | (noise & kNoiseBits);
    WriteTimestamp(transmit, packet + 40);
    return transmit;
}

NtpReply ReadNtpReply(const unsigned char* data, std::size_t size, NtpTimestamp request, double sentUnixTime,
                      double receivedUnixTime) {
    NtpReply reply;
    if (data == nullptr || size < kNtpPacketBytes) return reply;
    const int leap = data[0] >> 6, version = data[0] >> 3 & 7, mode = data[0] & 7;
    // The origin must echo this request: a stale reply to an earlier one, or a forged one, is
    // not an answer.
    if (mode != kModeServer || (version != 3 && version != 4) || !(ReadTimestamp(data + 24) == request)) {
        return reply;
    }
    reply.stratum = data[1];
    if (reply.stratum == 0) {
        reply.kind = NtpReplyKind::KissOfDeath;
        for (int i = 12; i < 16 && data[i] >= 0x20 && data[i] < 0x7F; ++i) reply.kissCode += char(data[i]);
        return reply;
    }
    const NtpTimestamp received = ReadTimestamp(data + 32), transmitted = ReadTimestamp(data + 40);
    if (reply.stratum > 15 || leap == 3 || (transmitted.seconds == 0 && transmitted.fraction == 0)) {
        reply.kind = NtpReplyKind::Unsynchronised;
        return reply;
    }
    // Root delay and dispersion: unsigned 16.16 fixed-point seconds.
    const auto shortFormat = [](const unsigned char* q) {
        return double(uint32_t(q[0]) << 24 | uint32_t(q[1]) << 16 | uint32_t(q[2]) << 8 | uint32_t(q[3])) / 65536.0;
    };
    reply.rootDistance = shortFormat(data + 4) / 2 + shortFormat(data + 8);
    const double t2 = UnixTimeOfNtp(received, sentUnixTime), t3 = UnixTimeOfNtp(transmitted, sentUnixTime);
    reply.offset = ((t2 - sentUnixTime) + (t3 - receivedUnixTime)) / 2;
    // A server that reports more time spent than the whole round trip took is taken at zero.
    reply.delay = std::max(0.0, (receivedUnixTime - sentUnixTime) - (t3 - t2));
    reply.kind = NtpReplyKind::Accepted;
    return reply;
}
