// The synchronisation against servers on the loopback address, with a clock setter that only
// measures: NTP against chrony (started by run_wine_bench.sh, serving the machine's clock),
// how far each setting lies from chrony's time and from the bound reported; then the Time
// Protocol against a server of our own whose clock is a fraction of a second off, with NTP
// silent, at the real four-second spacing: the error, the bound, and how often the server is
// asked.
#include "../tests/wine/TimeServerScript.h"

#include "timesync/SystemClockSetter.h"
#include "timesync/TimeSyncSocket.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <vector>

namespace {

double MachineTime() { return SystemClockSetter().now(); }

// A PC clock `error` seconds off the machine's; a setting is measured against the machine's.
struct Measuring : ClockSetter {
    double error = 0;
    double offBy = NAN;  // seconds the setting lay from the machine's time
    double now() override { return MachineTime() + error; }
    bool set(double unixTime, std::string&) override {
        offBy = unixTime - MachineTime();
        return true;
    }
};

struct Run {
    SyncOutcome outcome;
    double offByMs, boundMs;
    int ntpRequests, timeProtocolRequests;
};

Run Synchronize(Measuring& clock, TimeServerPorts ports) {
    SystemPerformanceCounter counter;
    TimeSyncSocket client(clock, counter, ports);
    clock.offBy = NAN;
    client.synchronize("127.0.0.1");
    const ULONGLONG start = GetTickCount64();
    while (!client.exchange().done() && GetTickCount64() - start < 40000) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
    const TimeSyncExchange& e = client.exchange();
    return {e.outcome(), clock.offBy * 1000, e.maxError() * 1000, e.requests(SyncProtocol::Ntp),
            e.requests(SyncProtocol::TimeProtocol)};
}

void Report(const char* what, const std::vector<Run>& runs, double targetMs) {
    double worstOff = 0, worstBound = 0;
    int within = 0, mostNtp = 0, mostTime = 0;
    for (const Run& r : runs) {
        worstOff = std::max(worstOff, std::fabs(r.offByMs));
        worstBound = std::max(worstBound, r.boundMs);
        within += std::fabs(r.offByMs) <= r.boundMs;
        mostNtp = std::max(mostNtp, r.ntpRequests);
        mostTime = std::max(mostTime, r.timeProtocolRequests);
    }
    const int n = int(runs.size());
    std::printf("time sync %s, %d runs: setting off the server's time, worst %.3f ms (target < %.0f)\n", what, n, worstOff, targetMs);
    std::printf("time sync %s, %d runs: maximum error reported, worst %.3f ms; setting within it in %d of %d\n", what, n,
                worstBound, within, n);
    std::printf("time sync %s, %d runs: requests per synchronisation, most %d NTP and %d Time Protocol\n", what, n, mostNtp,
                mostTime);
}

}  // namespace

int main() {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    Measuring clock;
    int status = 0;

    const char* chronyPort = std::getenv("SOLVANE_CHRONY_PORT");
    std::vector<Run> ntp;
    for (int run = 0; chronyPort != nullptr && run < 10; ++run) {
        clock.error = 0.37 * run - 1.5;
        const Run r = Synchronize(clock, {uint16_t(std::atoi(chronyPort)), 9});
        if (r.outcome != SyncOutcome::ClockSet) break;
        ntp.push_back(r);
    }
    if (ntp.size() == 10) {
        Report("NTP against chrony on loopback", ntp, 2);
    } else {
        std::printf("time sync NTP against chrony: FAILED (%s)\n", chronyPort ? "no answer" : "chrony not started");
        status = 1;
    }

    // The Time Protocol server's clock runs `serverAhead` seconds ahead of the machine's.
    double serverAhead = 0;
    std::mutex lock;
    std::vector<double> asked;  // when a request reached either port
    const auto note = [&] {
        std::lock_guard<std::mutex> hold(lock);
        asked.push_back(MachineTime());
    };
    TimeServerScript silentNtp(0, [&](int, const std::string&) {
        note();
        return std::vector<std::string>{};
    });
    TimeServerScript timeProtocol(0, [&](int, const std::string&) {
        note();
        return std::vector<std::string>{TimeReply(int64_t(std::floor(MachineTime() + serverAhead)))};
    });
    std::vector<Run> time;
    for (const double ahead : {0.27, 0.81}) {
        if (!time.empty()) Sleep(4000);  // the server's turn, as the dialog waits for it
        serverAhead = ahead;
        clock.error = 0;
        Run r = Synchronize(clock, {silentNtp.port(), timeProtocol.port()});
        r.offByMs -= ahead * 1000;  // against the server's clock
        if (r.outcome != SyncOutcome::ClockSet) break;
        time.push_back(r);
    }
    if (time.size() == 2) {
        Report("Time Protocol on loopback (NTP silent)", time, 100);
        double closest = 1e9;
        for (std::size_t i = 1; i < asked.size(); ++i) {
            if (asked[i] - asked[i - 1] < 10) closest = std::min(closest, asked[i] - asked[i - 1]);
        }
        std::printf("time sync Time Protocol on loopback: closest two requests to the server %.3f s apart (target >= 4)\n",
                    closest);
    } else {
        std::printf("time sync Time Protocol on loopback: FAILED\n");
        status = 1;
    }
    WSACleanup();
    return status;
}
