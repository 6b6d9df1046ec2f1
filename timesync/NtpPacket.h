// The packets of an SNTP exchange (NTP version 4, client mode): the 48-byte request, and the
// checks and arithmetic of a reply. Portable: the sockets and the clock are the caller's.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

constexpr uint16_t kNtpPort = 123;
constexpr std::size_t kNtpPacketBytes = 48;

// An NTP timestamp: seconds since 1900 within its era (a span of 2^32 seconds) and a 32-bit
// binary fraction of a second.
struct NtpTimestamp {
    uint32_t seconds = 0, fraction = 0;
    bool operator==(const NtpTimestamp& o) const { return seconds == o.seconds && fraction == o.fraction; }
};

// Unix time (seconds since 1970, with fraction) of an NTP timestamp, in the era that puts it
// nearest `nearUnixTime` (the PC's clock): the count wraps on 2036-02-07.
double UnixTimeOfNtp(NtpTimestamp time, double nearUnixTime);

// The NTP timestamp of a Unix time (any era: the count is taken modulo 2^32).
NtpTimestamp NtpOfUnixTime(double unixTime);

// The client's request: leap indicator 0, version 4, mode 3 (client), everything else zero but
// the transmit timestamp, which the reply must echo: the client's clock at `sentUnixTime` with
// the low 24 bits of its fraction (below 4 ms) taken from `noise`, so that a reply forged by
// someone who did not see the request has to guess them. The offset is figured from the
// client's own record of the sending, not from the stamp.
NtpTimestamp MakeNtpRequest(double sentUnixTime, uint32_t noise, unsigned char packet[kNtpPacketBytes]);

enum class NtpReplyKind {
    Accepted,     // a server's answer to this request, synchronised
    Ignored,         // not an answer to this request
    Unsynchronised,  // an answer from a server that cannot tell the time (stratum 16, leap 3, no time)
    KissOfDeath,     // the server refuses (stratum 0): ask it no more
};

struct NtpReply {
    NtpReplyKind kind = NtpReplyKind::Ignored;
    std::string kissCode;   // the four letters of a Kiss-o'-Death ("RATE", "DENY", "RSTR", ...)
    int stratum = 0;
    double offset = 0;      // seconds to add to the client's clock
    double delay = 0;       // round-trip delay, seconds
    double rootDistance = 0;  // seconds the server's clock may be off its reference: half its root delay plus its dispersion
};

// Judges a datagram that came back for the request stamped `request` (what MakeNtpRequest
// returned), sent at `sentUnixTime` and received at `receivedUnixTime` by the client's clock.
// An answer is in server mode, version 3 or 4, and echoes the request's transmit timestamp; it
// is accepted with stratum 1 to 15, leap indicator not 3 (unsynchronised) and a transmit time
// that is not zero.
NtpReply ReadNtpReply(const unsigned char* data, std::size_t size, NtpTimestamp request, double sentUnixTime,
                      double receivedUnixTime);
