// The Time Protocol (RFC 868) exchange that sets the PC clock: empty datagrams go to the
// server, each reply carries the server's clock as a 32-bit count of seconds since 1900, and
// the client asks again until that count turns to the next second. At that moment the server's
// clock has just passed a whole second, so the value is exact to within the round trip of the
// last exchange. The decisions live here; the sockets and the clock are the caller's.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

constexpr uint16_t kTimeProtocolPort = 37;

// Unix time from a reply's four bytes (big-endian seconds since 1900): the count plus
// 2085978496 modulo 2^32, read as a signed 32-bit number. Negative results (before 1970, or
// beyond 2038-01-19 03:14:07 UTC) cannot be set.
int32_t UnixTimeFromTimeProtocol(const unsigned char bytes[4]);

// Sets the PC clock; an interface so that tests can record what would be set.
class ClockSetter {
public:
    virtual ~ClockSetter() = default;
    // The clock's Unix time now, in whole seconds.
    virtual int64_t now() = 0;
    // Sets the clock to `unixTime` (whole seconds); false with the system's reason in `failure`.
    virtual bool set(int64_t unixTime, std::string& failure) = 0;
};

// The high-resolution performance counter.
class PerformanceCounter {
public:
    virtual ~PerformanceCounter() = default;
    virtual int64_t counts() = 0;
    virtual int64_t countsPerSecond() = 0;
};

enum class SyncOutcome {
    Running,      // waiting for a reply or for the server's second to turn
    ClockSet,     // the clock was set
    SocketError,  // the socket failed; see socketError()
    OutOfRange,   // the server's answer cannot be a time to set
    SetFailed,    // the system refused to set the clock; see failure()
};

class TimeSyncExchange {
public:
    TimeSyncExchange(ClockSetter& clock, PerformanceCounter& counter) : clock_(clock), counter_(counter) {}

    // A new synchronisation: nothing received yet, no outcome.
    void start();
    // The empty request datagram has just been sent.
    void requestSent();
    // No answer came: the request (or its answer) was lost and is sent again. The watch for
    // the turn of the second starts again, so that the error bound stays true.
    void resent();
    // A datagram from the server. True when another request must be sent now. Datagrams of
    // any size but 4 bytes are ignored; a value that cannot be a time ends the exchange; the
    // clock is set when the value is one second on from the previous reply. The server's second
    // turned after it answered the request before: the maximum error runs from the sending of
    // that request (the first of them, when a resend followed and either may have been
    // answered) to the setting of the clock (about two round trips).
    bool onReply(const unsigned char* data, std::size_t size);
    // The socket failed with Windows Sockets error `code`.
    void fail(int code);

    SyncOutcome outcome() const { return outcome_; }
    bool done() const { return outcome_ != SyncOutcome::Running; }
    float maxError() const { return maxError_; }    // seconds: how late the setting can be at most
    int correction() const { return correction_; }  // seconds the clock moved, forward positive
    int socketError() const { return socketError_; }
    const std::string& failure() const { return failure_; }  // the system's reason for SetFailed
    int requests() const { return requests_; }     // requests sent in this synchronisation
    int64_t setTime() const { return setTime_; }   // the Unix time the clock was set to

private:
    void setClock(int64_t unixTime);

    ClockSetter& clock_;
    PerformanceCounter& counter_;
    SyncOutcome outcome_ = SyncOutcome::Running;
    int64_t requestCounts_ = 0;   // when the first request still unanswered went, -1 when none is
    int64_t answeredCounts_ = 0;  // when the request answered by the previous reply went
    int64_t previous_ = -1;  // the last reply's Unix time, -1 before the first
    int64_t setTime_ = 0;
    float maxError_ = 0;
    int correction_ = 0;
    int socketError_ = 0;
    int requests_ = 0;
    std::string failure_;
};
