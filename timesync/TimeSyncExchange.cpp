#include "timesync/TimeSyncExchange.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace {

// SetSystemTime takes whole milliseconds: the setting may land half of one away.
constexpr double kSettingStep = 0.0005;

uint32_t RequestNoise() {
    std::random_device device;
    return device();
}

}  // namespace

int32_t UnixTimeFromTimeProtocol(const unsigned char b[4]) {
    const uint32_t sinceNineteenHundred = uint32_t(b[0]) << 24 | uint32_t(b[1]) << 16 | uint32_t(b[2]) << 8 | b[3];
    return static_cast<int32_t>(sinceNineteenHundred + 2085978496u);
}

int64_t FileTimeOfUnixTime(double unixTime) {
    constexpr int64_t kUnixEpoch = 116444736000000000;  // 1970 in FILETIME steps
    // Outside 1601 to 30827 (what the system can hold): no time at all.
    if (!(unixTime > -11644473600.0 && unixTime < 910692730085.0)) return -1;
    return kUnixEpoch + int64_t(std::llround(unixTime * 1000)) * 10000;
}

void TimeSyncExchange::start() {
    outcome_ = SyncOutcome::Running;
    protocol_ = SyncProtocol::Ntp;
    startClock_ = clock_.now();
    startCounts_ = counter_.counts();
    lastSent_ = startClock_;
    requests_[0] = requests_[1] = 0;
    timeProtocolSent_.clear();
    timeProtocolAnswered_ = 0;
    answers_ = 0;
    low_ = high_ = roundTrip_ = unconfirmedOffset_ = 0;
    maxError_ = correction_ = delay_ = 0;
    stratum_ = 0;
    kissCode_.clear();
    socketError_ = 0;
    failure_.clear();
}

double TimeSyncExchange::timeline() const {
    const int64_t frequency = counter_.countsPerSecond();
    return startClock_ + (frequency > 0 ? double(counter_.counts() - startCounts_) / double(frequency) : 0.0);
}

// When the next request is due on the timeline; with the plan spent, when the wait for the
// last answer ends.
double TimeSyncExchange::nextSendTime() const {
    const int ntpSent = requests_[int(SyncProtocol::Ntp)];
    if (ntpSent == 0) return startClock_;
    const double earliest = lastSent_ + schedule_.spacing;
    if (ntpSent < schedule_.ntpRequests || requests_[int(SyncProtocol::TimeProtocol)] >= schedule_.timeProtocolRequests ||
        answers_ == 0) {
        return earliest;
    }
    // The request should reach the server (half the last round trip after it goes) when, were
    // the offset in the middle of its range, the server's second would turn.
    const double middle = (low_ + high_) / 2;
    const double turn = std::ceil(earliest + roundTrip_ / 2 + middle);
    return turn - middle - roundTrip_ / 2;
}

double TimeSyncExchange::secondsToNextStep() {
    if (done()) return 0;
    return std::max(0.0, nextSendTime() - timeline());
}

bool TimeSyncExchange::nextRequest(SyncRequest& request) {
    if (done()) return false;
    const double now = timeline();
    if (now < nextSendTime()) return false;
    const int ntpSent = requests_[int(SyncProtocol::Ntp)];
    if (ntpSent < schedule_.ntpRequests) {
        request.protocol = SyncProtocol::Ntp;
        request.size = kNtpPacketBytes;
        ntpStamps_[ntpSent % 2] = MakeNtpRequest(now, RequestNoise(), request.bytes);
        ntpSent_[ntpSent % 2] = now;
    } else if (requests_[int(SyncProtocol::TimeProtocol)] < schedule_.timeProtocolRequests) {
        request.protocol = SyncProtocol::TimeProtocol;
        request.size = 0;
        timeProtocolSent_.push_back(now);
    } else {
        settleOrTimeOut();
        return false;
    }
    lastSent_ = now;
    ++requests_[int(request.protocol)];
    return true;
}

void TimeSyncExchange::onReply(SyncProtocol protocol, const unsigned char* data, std::size_t size) {
    if (done()) return;
    if (protocol == SyncProtocol::Ntp) {
        onNtpReply(data, size);
    } else {
        onTimeProtocolReply(data, size);
    }
}

// An answer to either NTP request is welcome, the later one's included after the Time Protocol
// has taken over.
void TimeSyncExchange::onNtpReply(const unsigned char* data, std::size_t size) {
    const double received = timeline();
    const int sent = std::min(requests_[int(SyncProtocol::Ntp)], 2);
    for (int i = 0; i < sent; ++i) {
        const NtpReply reply = ReadNtpReply(data, size, ntpStamps_[i], ntpSent_[i], received);
        switch (reply.kind) {
        case NtpReplyKind::Ignored:
            continue;
        case NtpReplyKind::KissOfDeath:
            kissCode_ = reply.kissCode;
            outcome_ = SyncOutcome::KissOfDeath;
            return;
        case NtpReplyKind::Unsynchronised:
            outcome_ = SyncOutcome::Unsynchronised;
            return;
        case NtpReplyKind::Accepted:
            protocol_ = SyncProtocol::Ntp;
            stratum_ = reply.stratum;
            delay_ = reply.delay;
            // The answer was read somewhere within the round trip; the server's clock itself
            // may be off its reference by its root distance.
            setClock(reply.offset, reply.delay / 2 + reply.rootDistance + kSettingStep);
            return;
        }
    }
}

// The server read its clock between the sending of the first request still unanswered and now
// (answers carry nothing to say which request they answer: a late answer to a lost-looking
// request counts from that request); its whole second held the server's clock at that moment.
// An answer with every request answered already says nothing certain and is dropped.
void TimeSyncExchange::onTimeProtocolReply(const unsigned char* data, std::size_t size) {
    if (size != 4 || timeProtocolAnswered_ >= timeProtocolSent_.size()) return;
    const int32_t unixTime = UnixTimeFromTimeProtocol(data);
    if (unixTime < 0) {
        outcome_ = SyncOutcome::OutOfRange;
        return;
    }
    const double now = timeline(), sent = timeProtocolSent_[timeProtocolAnswered_++];
    const double low = unixTime - now, high = unixTime + 1 - sent;
    roundTrip_ = now - sent;
    if (answers_ > 0 && low <= high_ && high >= low_) {
        low_ = std::max(low_, low);
        high_ = std::min(high_, high);
        ++answers_;
    } else {
        // The first answer, or one that contradicts the others: a server that stepped its clock.
        low_ = low;
        high_ = high;
        answers_ = 1;
    }
    if (answers_ >= schedule_.timeProtocolRequests) settleOrTimeOut();
}

// Two answers that agree are needed. Answers that each contradict the one before say the
// server's clock cannot be trusted; a single answer with silence after it is as good as none.
void TimeSyncExchange::settleOrTimeOut() {
    protocol_ = SyncProtocol::TimeProtocol;
    if (answers_ >= 2) {
        setClock((low_ + high_) / 2, (high_ - low_) / 2 + kSettingStep);
    } else {
        outcome_ = timeProtocolAnswered_ >= 2 ? SyncOutcome::AnswersDisagree : SyncOutcome::TimedOut;
    }
}

void TimeSyncExchange::fail(int code) {
    if (done()) return;
    socketError_ = code;
    outcome_ = SyncOutcome::SocketError;
}

void TimeSyncExchange::confirmCorrection(bool confirmed) {
    if (outcome_ != SyncOutcome::ConfirmationNeeded) return;
    if (confirmed) {
        setClock(unconfirmedOffset_, maxError_, true);
    } else {
        correction_ = 0;
        outcome_ = SyncOutcome::NotConfirmed;
    }
}

void TimeSyncExchange::setClock(double offset, double maxError, bool confirmed) {
    const double target = timeline() + offset;
    const double before = clock_.now();
    std::string failure;
    maxError_ = maxError;
    if (!confirmed && std::fabs(target - before) > kLongestUnconfirmedCorrection) {
        unconfirmedOffset_ = offset;
        correction_ = target - before;
        outcome_ = SyncOutcome::ConfirmationNeeded;
        return;
    }
    if (!clock_.set(target, failure)) {
        correction_ = 0;
        failure_ = failure;
        outcome_ = SyncOutcome::SetFailed;
        return;
    }
    correction_ = target - before;
    outcome_ = SyncOutcome::ClockSet;
}
