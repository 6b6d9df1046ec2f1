#include "timesync/SyncReport.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

template <std::size_t N>
void CopyText(char (&to)[N], const std::string& from) {
    const std::size_t length = std::min(from.size(), N - 1);
    std::memcpy(to, from.data(), length);
    to[length] = '\0';
}

template <std::size_t N>
bool Terminated(const char (&text)[N]) {
    return std::memchr(text, '\0', N) != nullptr;
}

}  // namespace

SyncReport ReportOf(const TimeSyncExchange& exchange) {
    SyncReport report;
    report.outcome = int32_t(exchange.outcome());
    report.protocol = int32_t(exchange.protocol());
    report.stratum = exchange.stratum();
    report.socketError = exchange.socketError();
    report.requests[0] = exchange.requests(SyncProtocol::Ntp);
    report.requests[1] = exchange.requests(SyncProtocol::TimeProtocol);
    report.maxError = exchange.maxError();
    report.correction = exchange.correction();
    report.delay = exchange.delay();
    CopyText(report.kissCode, exchange.kissCode());
    CopyText(report.failure, exchange.failure());
    return report;
}

bool ReadSyncReport(const void* data, std::size_t size, SyncReport& report) {
    if (data == nullptr || size != sizeof(SyncReport)) return false;
    SyncReport read;
    std::memcpy(&read, data, sizeof read);
    const bool reported = read.outcome >= int32_t(SyncOutcome::Running) && read.outcome <= int32_t(SyncOutcome::TimedOut) &&
                          read.outcome != int32_t(SyncOutcome::ConfirmationNeeded);
    const bool known = read.protocol == int32_t(SyncProtocol::Ntp) || read.protocol == int32_t(SyncProtocol::TimeProtocol);
    if (!reported || !known || !std::isfinite(read.maxError) || !std::isfinite(read.correction) ||
        !std::isfinite(read.delay) || !Terminated(read.kissCode) || !Terminated(read.failure)) {
        return false;
    }
    report = read;
    return true;
}

int CorrectionSecondsShown(double correction) {
    const double whole = std::min(std::floor(std::fabs(correction)), 2e9) + 1;
    return correction < 0 ? -int(whole) : int(whole);
}
