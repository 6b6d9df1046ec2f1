// A server's datagrams of any number, size and content fed to the Time Protocol exchange
// (each input byte gives the next datagram's size, 0 to 7, then its bytes): the clock is set at
// most once, only to a time of 1970 or later that is one second on from the reply before it,
// and nothing happens after the exchange has ended.
#include "FuzzSupport.h"

#include "timesync/TimeSyncExchange.h"

#include <vector>

namespace {

struct RecordingClock : ClockSetter {
    std::vector<int64_t> sets;
    int64_t now() override { return 1700000000; }
    bool set(int64_t unixTime, std::string&) override {
        sets.push_back(unixTime);
        return true;
    }
};

struct StepCounter : PerformanceCounter {
    int64_t value = 0;
    int64_t counts() override { return value += 7; }
    int64_t countsPerSecond() override { return 1000; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    RecordingClock clock;
    StepCounter counter;
    TimeSyncExchange exchange(clock, counter);
    exchange.start();
    exchange.requestSent();
    int64_t lastFourByteValue = -2;
    for (std::size_t at = 0; at < size;) {
        const std::size_t length = data[at++] % 8;
        const std::size_t take = length <= size - at ? length : size - at;
        const bool wasDone = exchange.done();
        const std::size_t setsBefore = clock.sets.size();
        const bool again = exchange.onReply(data + at, take);
        if (wasDone) {
            FUZZ_CHECK(!again);
            FUZZ_CHECK(clock.sets.size() == setsBefore);
        }
        if (again) exchange.requestSent();
        if (clock.sets.size() > setsBefore) {
            FUZZ_CHECK(take == 4);
            FUZZ_CHECK(clock.sets.back() >= 0);
            FUZZ_CHECK(clock.sets.back() == lastFourByteValue + 1);
            FUZZ_CHECK(exchange.outcome() == SyncOutcome::ClockSet);
        }
        if (take == 4 && !wasDone) lastFourByteValue = UnixTimeFromTimeProtocol(data + at);
        at += take;
    }
    FUZZ_CHECK(clock.sets.size() <= 1);
    FUZZ_CHECK(exchange.requests() >= 1);
    return 0;
}
