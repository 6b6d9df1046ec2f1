// The next solar and lunar eclipse for home, found on a thread of their own with a reader of
// the ephemeris of its own: the program's reader and the options lock are never touched, so
// the search never stalls the clock. The results are kept until the next eclipse has passed,
// then searched again; a new home, or the clock set, starts a new search.
#pragma once

#include "astro/Eclipses.h"

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

// What the watch knows of the eclipses to come.
struct EclipseOutlook {
    enum class State { kSearching, kNoEphemeris, kFound };
    State state = State::kSearching;
    // The next of each kind, an eclipse still under way included; none when the ephemeris
    // ends before one.
    std::optional<Eclipse> solar, lunar;
};

// No eclipse, solar or lunar, lasts longer than this on either side of its greatest eclipse:
// it has passed that long after.
constexpr double kEclipseHalfSpanDays = 4.0 / 24;

// The next solar and lunar eclipse among `found` (in time order) that have not passed at
// `nowUtcJd`.
EclipseOutlook NextEclipses(const std::vector<Eclipse>& found, double nowUtcJd);
// When `outlook` is searched again: once the earlier of its eclipses has passed; never (infinity)
// while nothing is found or no ephemeris can be read.
double OutlookExpiry(const EclipseOutlook& outlook);

class EclipseWatch {
public:
    // `ephemerisPath`: the file to read ("" when the program has none); `nowUtcJd`: the clock,
    // read on the watch's thread; `changed`: called on the watch's thread whenever the outlook
    // changed.
    EclipseWatch(std::string ephemerisPath, std::function<double()> nowUtcJd, std::function<void()> changed);
    ~EclipseWatch();
    EclipseWatch(const EclipseWatch&) = delete;
    EclipseWatch& operator=(const EclipseWatch&) = delete;

    // Starts the search for `home`; again, a new search for a new home.
    void watch(const EclipseHome& home);
    // A new search for the same home from the clock's now: the clock was set, perhaps back.
    // Nothing before the first watch().
    void searchAgain();
    // Ends the search, the thread with it; the outlook stays as it is.
    void stop();
    EclipseOutlook outlook() const;

private:
    void run();
    // The next eclipses from `nowUtcJd` on, searched until both kinds are
    // found or the ephemeris ends; nothing when stopped or the home changed meanwhile.
    std::optional<EclipseOutlook> search(EphemerisReader& reader, const EclipseHome& home, double nowUtcJd);
    bool keepGoing() const;

    const std::string path_;
    const std::function<double()> now_;
    const std::function<void()> changed_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    EclipseOutlook outlook_;
    EclipseHome home_;
    // Set under the mutex; read by the search without it. searchAnew_: a new home or the clock set.
    std::atomic<bool> searchAnew_{false}, stopping_{false};
    std::thread thread_;
};
