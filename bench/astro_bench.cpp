// Speed of the astronomy engine, measured side by side in one run:
//   - the nutation series by the addition-formula recurrence against ERFA's eraNut80;
//   - one frame's astronomy: the clock state refreshed (a new second) and the Sun and the
//     Moon reduced to apparent places;
//   - the Sun's events of one date (sunrise, noon, sunset, twilight);
//   - the eclipse search over the whole ephemeris, with a home's circumstances, on a reader
//     of its own as the clock's search thread has.
//
// usage: astro_bench CHEBY
#include "app/UserOptions.h"
#include "app/ClockState.h"
#include "astro/Eclipses.h"
#include "astro/Ephemeris.h"
#include "astro/FixedClock.h"
#include "astro/NutationSeries.h"
#include "astro/Reduce.h"
#include "astro/RiseSet.h"

#include <erfa.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

// Best of several runs of `iterations` calls, in microseconds per call.
double MicrosecondsPerCall(int iterations, const std::function<void(int)>& call) {
    double best = 1e30;
    for (int run = 0; run < 7; ++run) {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < iterations; ++i) call(i);
        const std::chrono::duration<double, std::micro> elapsed =
            std::chrono::steady_clock::now() - start;
        best = std::min(best, elapsed.count() / iterations);
    }
    return best;
}

volatile double sink;

// A clock that moves on by one second at every reading of UTC, as the globe's repaints do.
class TickingClock : public CivilClock {
public:
    CivilTime utcNow() override { return step(); }
    CivilTime localNow() override { return local_; }

private:
    CivilTime step() {
        CivilTime t = now_;
        if (++now_.second == 60) {
            now_.second = 0;
            now_ = AddMinutes(now_, 1);
        }
        return t;
    }
    CivilTime now_ = Start();
    CivilTime local_ = Start();
    static CivilTime Start() {
        CivilTime t;
        t.year = 2026, t.month = 12, t.day = 8, t.hour = 14;
        return t;
    }
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: astro_bench CHEBY\n");
        return 2;
    }
    if (EPHOPN(argv[1]) == nullptr) return 1;

    const double ours = MicrosecondsPerCall(20000, [](int i) {
        double dpsi, deps;
        NutationAngles(0.26 + i * 1e-7, &dpsi, &deps);
        sink = dpsi + deps;
    });
    const double erfa = MicrosecondsPerCall(20000, [](int i) {
        double dpsi, deps;
        eraNut80(2461383.0 + i * 0.00365, 0, &dpsi, &deps);
        sink = dpsi + deps;
    });
    std::printf("nutation series: recurrence %.3f us, eraNut80 %.3f us, ratio %.2f (target <= 0.50)\n",
                ours, erfa, ours / erfa);

    UserOptions options;
    SetDefaultOptions(options);
    AstroState state = {};
    TickingClock clock;
    UpdateAstroState(state, options, clock, true);
    const double frame = MicrosecondsPerCall(20000, [&](int) {
        UpdateAstroState(state, options, clock, false);
        double sun[6], moon[6];
        Reduce(state.julianDate, kSun, kApparentGeocentric, sun);
        Reduce(state.julianDate, kMoon, kApparentGeocentric, moon);
        sink = sun[0] + moon[0];
    });
    std::printf("one frame's astronomy (clock state + Sun + Moon): %.2f us (target <= 10)\n", frame);

    const double events = MicrosecondsPerCall(2000, [](int i) {
        double rise, transit, set;
        SunEvents(1 + i % 12, 1 + i % 28, 2026, -1.42, 0.498, &rise, &transit, &set);
        sink = rise + set;
    });
    std::printf("SunEvents of one date: %.2f us\n", events);

    EphemerisReader reader;
    if (!reader.open(argv[1], nullptr)) return 1;
    const EclipseHome home = {options.homeLatitude, options.homeLongitude, 0};
    std::vector<Eclipse> eclipses;
    const auto start = std::chrono::steady_clock::now();
    eclipses = FindEclipses(reader, reader.header().firstDate, reader.header().lastDate, home);
    const std::chrono::duration<double> searched = std::chrono::steady_clock::now() - start;
    int solar = 0, seen = 0;
    for (const Eclipse& e : eclipses) {
        solar += e.kind == EclipseKind::kSolar;
        seen += e.home.visible;
    }
    std::printf("eclipse search over the whole ephemeris: %.2f s, %d solar and %d lunar eclipses, "
                "%d seen from home\n",
                searched.count(), solar, static_cast<int>(eclipses.size()) - solar, seen);
    CloseEphemeris();
    return 0;
}
