#include "timesync/TimeSyncExchange.h"

int32_t UnixTimeFromTimeProtocol(const unsigned char b[4]) {
    const uint32_t sinceNineteenHundred = uint32_t(b[0]) << 24 | uint32_t(b[1]) << 16 | uint32_t(b[2]) << 8 | b[3];
    return static_cast<int32_t>(sinceNineteenHundred + 2085978496u);
}

void TimeSyncExchange::start() {
    outcome_ = SyncOutcome::Running;
    previous_ = -1;
    maxError_ = 0;
    correction_ = 0;
    socketError_ = 0;
    requests_ = 0;
    setTime_ = 0;
    failure_.clear();
    answeredCounts_ = counter_.counts();
    requestCounts_ = -1;
}

// A reply may answer any request sent since the last reply, the earliest included: the error
// bound runs from the first of them.
void TimeSyncExchange::requestSent() {
    const int64_t now = counter_.counts();
    if (requestCounts_ < 0) requestCounts_ = now;
    ++requests_;
}

void TimeSyncExchange::resent() {
    previous_ = -1;
    requestSent();
}

void TimeSyncExchange::fail(int code) {
    if (done()) return;
    socketError_ = code;
    outcome_ = SyncOutcome::SocketError;
}

bool TimeSyncExchange::onReply(const unsigned char* data, std::size_t size) {
    if (done() || size != 4) return false;
    const int32_t unixTime = UnixTimeFromTimeProtocol(data);
    if (unixTime < 0) {
        outcome_ = SyncOutcome::OutOfRange;
        return false;
    }
    // Only a value one second on from the previous one marks the turn of the server's second;
    // any other change (a server that jumps) starts the watch again.
    if (previous_ >= 0 && unixTime == previous_ + 1) {
        setClock(unixTime);
        return false;
    }
    previous_ = unixTime;
    answeredCounts_ = requestCounts_ >= 0 ? requestCounts_ : answeredCounts_;
    requestCounts_ = -1;
    return true;
}

void TimeSyncExchange::setClock(int64_t unixTime) {
    const int64_t before = clock_.now();
    std::string failure;
    const bool set = clock_.set(unixTime, failure);
    const int64_t after = counter_.counts();
    const int64_t frequency = counter_.countsPerSecond();
    maxError_ = frequency > 0 ? float(double(after - answeredCounts_) / double(frequency)) : 0.0f;
    setTime_ = unixTime;
    if (!set) {
        failure_ = failure;
        outcome_ = SyncOutcome::SetFailed;
        return;
    }
    correction_ = int(unixTime - before);
    outcome_ = SyncOutcome::ClockSet;
}
