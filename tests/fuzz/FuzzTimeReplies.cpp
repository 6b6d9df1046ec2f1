// A server's datagrams of any number, size and content, on either protocol's port, fed to the
// exchange as time goes on (each datagram is led by two bytes: its size, 0 to 63, with the
// port in the top bit, and the milliseconds to wait before it): requests never come closer
// than the spacing, the clock is set at most once and only with a finished outcome, and
// nothing happens after the exchange has ended.
#include "FuzzSupport.h"

#include "timesync/TimeSyncExchange.h"

#include <vector>

namespace {

struct SimulatedPc : ClockSetter, PerformanceCounter {
    int64_t micros = 0;
    std::vector<double> sets;
    double now() override { return 1700000000 + double(micros) / 1e6; }
    bool set(double unixTime, std::string&) override {
        sets.push_back(unixTime);
        return true;
    }
    int64_t counts() override { return micros; }
    int64_t countsPerSecond() override { return 1000000; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    SimulatedPc pc;
    TimeSyncExchange exchange(pc, pc);
    exchange.start();
    double lastSent = -1e9;
    int sent = 0;
    const auto sendDue = [&] {
        SyncRequest request;
        while (exchange.nextRequest(request)) {
            const double at = double(pc.micros) / 1e6;
            FUZZ_CHECK(at - lastSent >= 4.0 - 1e-6);
            lastSent = at;
            ++sent;
        }
    };
    for (std::size_t at = 0; at + 1 < size;) {
        const bool ntp = (data[at] & 0x80) != 0;
        const std::size_t length = data[at] & 0x3F;
        pc.micros += int64_t(data[at + 1]) * 1000 * 40;  // up to 10 s
        at += 2;
        sendDue();
        const std::size_t take = length <= size - at ? length : size - at;
        const bool wasDone = exchange.done();
        const std::size_t setsBefore = pc.sets.size();
        exchange.onReply(ntp ? SyncProtocol::Ntp : SyncProtocol::TimeProtocol, data + at, take);
        if (wasDone) FUZZ_CHECK(pc.sets.size() == setsBefore);
        if (pc.sets.size() > setsBefore) FUZZ_CHECK(exchange.outcome() == SyncOutcome::ClockSet);
        at += take;
    }
    for (int i = 0; i < 40 && !exchange.done(); ++i) {
        pc.micros += 1000000;
        sendDue();
    }
    FUZZ_CHECK(exchange.done());
    FUZZ_CHECK(pc.sets.size() <= 1);
    FUZZ_CHECK(sent <= 6);
    return 0;
}
