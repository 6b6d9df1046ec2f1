#include "app/EclipseWatch.h"

#include "astro/Ephemeris.h"

#include <chrono>
#include <cmath>

namespace {

// The clock is looked at this often while the outlook holds (a changed clock counts too).
constexpr std::chrono::seconds kClockLook{60};

}  // namespace

EclipseOutlook NextEclipses(const std::vector<Eclipse>& found, double nowUtcJd) {
    EclipseOutlook outlook;
    outlook.state = EclipseOutlook::State::kFound;
    for (const Eclipse& e : found) {
        if (e.greatestUtcJd + kEclipseHalfSpanDays <= nowUtcJd) continue;
        std::optional<Eclipse>& next = e.kind == EclipseKind::kSolar ? outlook.solar : outlook.lunar;
        if (!next || e.greatestUtcJd < next->greatestUtcJd) next = e;
    }
    return outlook;
}

double OutlookExpiry(const EclipseOutlook& outlook) {
    double expiry = HUGE_VAL;
    for (const std::optional<Eclipse>& e : {outlook.solar, outlook.lunar}) {
        if (e) expiry = std::fmin(expiry, e->greatestUtcJd + kEclipseHalfSpanDays);
    }
    return outlook.state == EclipseOutlook::State::kFound ? expiry : HUGE_VAL;
}

EclipseWatch::EclipseWatch(std::string ephemerisPath, std::function<double()> nowUtcJd, std::function<void()> changed)
    : path_(std::move(ephemerisPath)), now_(std::move(nowUtcJd)), changed_(std::move(changed)) {}

EclipseWatch::~EclipseWatch() { stop(); }

void EclipseWatch::watch(const EclipseHome& home) {
    {
        std::lock_guard<std::mutex> hold(mutex_);
        if (stopping_) return;
        home_ = home;
        searchAnew_ = true;
    }
    wake_.notify_all();
    if (!thread_.joinable()) thread_ = std::thread([this] { run(); });
}

void EclipseWatch::searchAgain() {
    {
        std::lock_guard<std::mutex> hold(mutex_);
        if (stopping_) return;
        searchAnew_ = true;
    }
    wake_.notify_all();
}

void EclipseWatch::stop() {
    {
        std::lock_guard<std::mutex> hold(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable()) thread_.join();
}

EclipseOutlook EclipseWatch::outlook() const {
    std::lock_guard<std::mutex> hold(mutex_);
    return outlook_;
}

bool EclipseWatch::keepGoing() const { return !stopping_ && !searchAnew_; }

std::optional<EclipseOutlook> EclipseWatch::search(EphemerisReader& reader, const EclipseHome& home, double now) {
    // From a little before now: an eclipse under way is still the next one.
    const std::vector<Eclipse> found = EclipsesFrom(
        reader, now - kEclipseHalfSpanDays, home,
        [now](const std::vector<Eclipse>& soFar) {
            const EclipseOutlook outlook = NextEclipses(soFar, now);
            return outlook.solar && outlook.lunar;
        },
        [this] { return keepGoing(); });
    if (!keepGoing()) return std::nullopt;
    return NextEclipses(found, now);
}

void EclipseWatch::run() {
    EphemerisReader reader;
    std::string error;
    const bool readable = !path_.empty() && reader.open(path_, &error);
    std::unique_lock<std::mutex> lock(mutex_);
    if (!readable) {
        outlook_ = {};
        outlook_.state = EclipseOutlook::State::kNoEphemeris;
        lock.unlock();
        changed_();
        return;
    }
    while (!stopping_) {
        const EclipseHome home = home_;
        searchAnew_ = false;
        const bool wasSearching = outlook_.state == EclipseOutlook::State::kSearching;
        outlook_.state = EclipseOutlook::State::kSearching;
        lock.unlock();
        if (!wasSearching) changed_();
        std::optional<EclipseOutlook> found = search(reader, home, now_());
        lock.lock();
        if (!found) continue;  // stopped, or a new search asked for
        outlook_ = *found;
        lock.unlock();
        changed_();
        lock.lock();
        while (!stopping_ && !searchAnew_ && now_() < OutlookExpiry(outlook_)) wake_.wait_for(lock, kClockLook);
    }
}
