#include "app/ClockSettings.h"

#include "app/ClockState.h"

#include <mutex>
#include <vector>

UserOptions ClockSettings::snapshot() const {
    std::lock_guard<RecursiveLock> hold(lock_);
    return options_;
}

AstroState ClockSettings::clockState() const {
    std::lock_guard<RecursiveLock> hold(lock_);
    return astro_;
}

void ClockSettings::update(const OptionsChange& change, bool recomputeDay) {
    UserOptions before, after;
    {
        std::lock_guard<RecursiveLock> hold(lock_);
        before = options_;
        change(options_);
        after = options_;
        if (recomputeDay) UpdateAstroState(astro_, options_, clock_, true);
    }
    // A listener may add or take away listeners: the ones of now are told.
    std::vector<OptionsListener> told;
    for (const auto& entry : listeners_) told.push_back(entry.second);
    for (const OptionsListener& listener : told) listener(before, after);
}

int ClockSettings::listen(OptionsListener listener) {
    listeners_[++nextListener_] = std::move(listener);
    return nextListener_;
}

void ClockSettings::forget(int listener) { listeners_.erase(listener); }

void ClockSettings::advanceClock(bool force) {
    std::lock_guard<RecursiveLock> hold(lock_);
    UpdateAstroState(astro_, options_, clock_, force);
}

void ClockSettings::renewWallpaper(bool force) {
    advanceClock(force);
    if (wakeWallpaper_) wakeWallpaper_();
}
