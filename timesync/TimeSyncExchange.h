// One synchronisation of the PC clock with a time server: NTP first (one request, one more if
// it brings no answer), then the Time Protocol (RFC 868) for servers that answer only that.
// No two requests go to the server less than a spacing apart (4 seconds: what NIST, whose
// servers the list offers, asks of clients), whatever the protocol.
//
// The Time Protocol's answer is the server's clock in whole seconds, so one answer places the
// offset between the two clocks within a second. Each later request is timed so that, if the
// offset lay in the middle of what is still possible, the server's second would turn just as
// the request reaches it: whichever second the answer holds rules out half of the rest. Four
// answers leave an eighth of a second (plus the round trips); the clock is set from the middle,
// and the maximum error is half of what remains possible. It takes two answers that agree: one
// alone could be anything.
//
// A correction of more than a day is rare enough to be asked about before it is made.
//
// The decisions live here; the sockets and the clock are the caller's.
#pragma once

#include "timesync/NtpPacket.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

constexpr uint16_t kTimeProtocolPort = 37;
constexpr double kLongestUnconfirmedCorrection = 86400;  // seconds

// Unix time from a Time Protocol reply's four bytes (big-endian seconds since 1900): the count
// plus 2085978496 modulo 2^32, read as a signed 32-bit number. Negative results (before 1970,
// or beyond 2038-01-19 03:14:07 UTC) cannot be set.
int32_t UnixTimeFromTimeProtocol(const unsigned char bytes[4]);

// The Windows FILETIME count (100-nanosecond steps since 1601) of Unix time `unixTime`, rounded
// to the whole millisecond, which is what the system's clock takes: the setting lands at most
// half a millisecond off.
int64_t FileTimeOfUnixTime(double unixTime);

// Sets the PC clock; an interface so that tests can record what would be set.
class ClockSetter {
public:
    virtual ~ClockSetter() = default;
    // The clock's Unix time now, seconds with their fraction.
    virtual double now() = 0;
    // Sets the clock to `unixTime` (to the millisecond); false with the system's reason in `failure`.
    virtual bool set(double unixTime, std::string& failure) = 0;
};

// The high-resolution performance counter.
class PerformanceCounter {
public:
    virtual ~PerformanceCounter() = default;
    virtual int64_t counts() = 0;
    virtual int64_t countsPerSecond() = 0;
};

enum class SyncProtocol { Ntp, TimeProtocol };

enum class SyncOutcome {
    Running,             // waiting for an answer, or for the time to ask again
    ClockSet,            // the clock was set
    SocketError,         // the socket failed; see socketError()
    OutOfRange,          // the Time Protocol server's answer cannot be a time to set
    SetFailed,           // the system refused to set the clock; see failure()
    KissOfDeath,         // the NTP server refused to serve; see kissCode()
    Unsynchronised,      // the NTP server answered that its own clock is not synchronised
    AnswersDisagree,     // no two of the Time Protocol server's answers agree: nothing was set
    ConfirmationNeeded,  // the clock would move more than a day: see confirmCorrection()
    NotConfirmed,        // the user kept the clock as it was
    TimedOut,            // no usable answer came
};

// How often and how many times the server is asked. Tests shorten the spacing.
struct SyncSchedule {
    double spacing = 4.0;           // seconds at least between two requests to the server
    int ntpRequests = 2;
    int timeProtocolRequests = 4;
};

// A request to send to the server now.
struct SyncRequest {
    SyncProtocol protocol = SyncProtocol::Ntp;
    unsigned char bytes[kNtpPacketBytes] = {};
    std::size_t size = 0;  // 48 for NTP, 0 (an empty datagram) for the Time Protocol
};

class TimeSyncExchange {
public:
    TimeSyncExchange(ClockSetter& clock, PerformanceCounter& counter, SyncSchedule schedule = {})
        : clock_(clock), counter_(counter), schedule_(schedule) {}

    // A new synchronisation: nothing sent or received yet, no outcome.
    void start();
    // The request due now, if one is: it counts as sent now. When the plan is spent and the
    // wait for its last answer is over, the exchange ends instead (the clock set from the Time
    // Protocol's answers so far, else TimedOut).
    bool nextRequest(SyncRequest& request);
    // Seconds from now until nextRequest() should be asked again.
    double secondsToNextStep();
    // A datagram from the server's port for `protocol`.
    void onReply(SyncProtocol protocol, const unsigned char* data, std::size_t size);
    // The socket failed with Windows Sockets error `code`.
    void fail(int code);
    // After ConfirmationNeeded: the clock set as the answer said (the time since counted in)
    // when `confirmed`, else NotConfirmed. The socket is no longer needed.
    void confirmCorrection(bool confirmed);

    SyncOutcome outcome() const { return outcome_; }
    bool done() const { return outcome_ != SyncOutcome::Running; }
    SyncProtocol protocol() const { return protocol_; }  // the protocol of the answer used
    double maxError() const { return maxError_; }     // seconds the setting can be off at most
    // Seconds the clock moved, forward positive; with ConfirmationNeeded, how far it would.
    double correction() const { return correction_; }
    double delay() const { return delay_; }           // NTP: the answer's round trip, seconds
    int stratum() const { return stratum_; }          // NTP: the server's stratum
    const std::string& kissCode() const { return kissCode_; }
    int socketError() const { return socketError_; }
    const std::string& failure() const { return failure_; }  // the system's reason for SetFailed
    int requests(SyncProtocol protocol) const { return requests_[int(protocol)]; }

private:
    // The client's timeline: the PC clock read once at the start, carried on by the counter,
    // so that a clock that is stepped meanwhile changes nothing.
    double timeline() const;
    double nextSendTime() const;
    void onNtpReply(const unsigned char* data, std::size_t size);
    void onTimeProtocolReply(const unsigned char* data, std::size_t size);
    void setClock(double offset, double maxError, bool confirmed = false);
    void settleOrTimeOut();

    ClockSetter& clock_;
    PerformanceCounter& counter_;
    SyncSchedule schedule_;
    SyncOutcome outcome_ = SyncOutcome::Running;
    SyncProtocol protocol_ = SyncProtocol::Ntp;
    double startClock_ = 0;
    int64_t startCounts_ = 0;
    double lastSent_ = 0;  // timeline time of the last request, any protocol
    int requests_[2] = {0, 0};
    // The NTP requests sent, whose answers are still welcome: their stamps and timeline times.
    NtpTimestamp ntpStamps_[2] = {};
    double ntpSent_[2] = {0, 0};
    bool unsynchronisedAnswer_ = false;
    // Time Protocol: when each request went, and how many of them the answers so far used up
    // (one each, in order: an answer never counts from a request later than its own unless an
    // answer came twice). The offset (server minus timeline) lies within [low_, high_] after
    // answers_ answers that agree.
    std::vector<double> timeProtocolSent_;
    std::size_t timeProtocolAnswered_ = 0;
    int answers_ = 0;
    double low_ = 0, high_ = 0;
    double roundTrip_ = 0;  // of the last answer
    double unconfirmedOffset_ = 0;  // server minus timeline, for a correction still to be confirmed
    double maxError_ = 0, correction_ = 0, delay_ = 0;
    int stratum_ = 0;
    std::string kissCode_;
    int socketError_ = 0;
    std::string failure_;
};
