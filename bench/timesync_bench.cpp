// The Time Protocol client against a server on the loopback address whose clock is a
// fraction of a second off the PC's: how large an error the client reports, how far the time
// it sets lies from the server's second boundary, and how many requests one synchronisation
// sends.
#include "../tests/wine/TimeServerScript.h"

#include "timesync/SystemClockSetter.h"
#include "timesync/TimeSyncSocket.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

SystemPerformanceCounter counter;

// The server's clock in seconds: the performance counter, started at a given fraction.
double ServerTime(double offset) { return 1700000000.0 + offset + double(counter.counts()) / double(counter.countsPerSecond()); }

struct Measuring : ClockSetter {
    double offset = 0;
    double lateBy = -1;  // seconds past the server's second boundary when the clock was set
    int64_t now() override { return int64_t(ServerTime(offset)); }
    bool set(int64_t unixTime, std::string&) override {
        lateBy = ServerTime(offset) - double(unixTime);
        return true;
    }
};

}  // namespace

int main() {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    Measuring clock;
    TimeServerScript server(0, [&](int) { return std::vector<std::string>{TimeReply(int64_t(std::floor(ServerTime(clock.offset))))}; });
    if (!server.ok()) {
        std::printf("time sync: no loopback server\n");
        return 1;
    }
    TimeSyncSocket client(clock, counter, server.port());
    std::vector<double> errors, late;
    std::vector<int> requests;
    int withinBound = 0;
    for (int run = 0; run < 10; ++run) {
        clock.offset = 0.1 * run;  // the boundary comes at a different moment each time
        clock.lateBy = -1;
        client.synchronize("127.0.0.1");
        const DWORD start = GetTickCount();
        while (!client.exchange().done() && GetTickCount() - start < 5000) {
            MSG message;
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        }
        if (client.exchange().outcome() != SyncOutcome::ClockSet) {
            std::printf("time sync: run %d did not set the clock\n", run);
            return 1;
        }
        errors.push_back(client.exchange().maxError() * 1000.0);
        late.push_back(clock.lateBy * 1000.0);
        requests.push_back(client.exchange().requests());
        withinBound += late.back() <= errors.back();
        client.close();
    }
    const auto worst = [](const std::vector<double>& v) { return *std::max_element(v.begin(), v.end()); };
    std::sort(requests.begin(), requests.end());
    std::printf("time sync against loopback, 10 runs: maximum error reported, worst %.3f ms (target < 5)\n", worst(errors));
    std::printf("time sync against loopback, 10 runs: setting after the server's second boundary, worst %.3f ms (target < 5)\n", worst(late));
    std::printf("time sync against loopback, 10 runs: setting within the reported maximum error in %d of 10\n", withinBound);
    std::printf("time sync against loopback, 10 runs: requests per synchronisation, median %d, most %d\n",
                requests[requests.size() / 2], requests.back());
    WSACleanup();
    return 0;
}
