// What a synchronisation that ran in another process of the program (the one allowed to set
// the clock) hands back to the dialog: a fixed record, sent as a WM_COPYDATA message. One with
// the outcome Running tells how far it has got; the last one, its outcome.
#pragma once

#include "timesync/TimeSyncExchange.h"

#include <cstddef>
#include <cstdint>

// The WM_COPYDATA tag of a report.
constexpr uint32_t kSyncReportTag = 0x534E5450;  // "SNTP"

struct SyncReport {
    uint64_t ticket = 0;  // the number the dialog gave the instance
    int32_t outcome = int32_t(SyncOutcome::TimedOut);
    int32_t protocol = int32_t(SyncProtocol::Ntp);
    int32_t stratum = 0;
    int32_t socketError = 0;
    int32_t requests[2] = {0, 0};  // NTP, Time Protocol
    double maxError = 0;
    double correction = 0;
    double delay = 0;
    char kissCode[8] = {};
    char failure[512] = {};  // UTF-8, NUL-terminated
};

SyncReport ReportOf(const TimeSyncExchange& exchange);

// The report in a message's bytes: false (and `report` untouched) unless they are one, with an
// outcome that is reported (Running or one that ends it; never ConfirmationNeeded), a known
// protocol, finite numbers and terminated texts.
bool ReadSyncReport(const void* data, std::size_t size, SyncReport& report);

// The whole seconds a Time Protocol result names for `correction` ("corrected by less than N
// second(s)"): one more than its whole seconds, with its sign (back is negative); no
// correction at all is 1.
int CorrectionSecondsShown(double correction);
