#include "app/ClockSettings.h"

#include "app/ClockState.h"

#include <mutex>
#include <vector>

UserOptions ClockSettings::snapshot() const {
    std::lock_guard<RecursiveLock> hold(lock_);
    return settings_.options;
}

WorldSettings ClockSettings::world() const {
    std::lock_guard<RecursiveLock> hold(lock_);
    return settings_.world;
}

AstroState ClockSettings::clockState() const {
    std::lock_guard<RecursiveLock> hold(lock_);
    return astro_;
}

void ClockSettings::update(const OptionsChange& change, bool recomputeDay) {
    apply([&change](Settings& s) { change(s.options); }, recomputeDay);
}

void ClockSettings::update(const WorldChange& change) {
    apply([&change](Settings& s) { change(s.world); }, false);
}

void ClockSettings::apply(const std::function<void(Settings&)>& change, bool recomputeDay) {
    Settings before, after;
    {
        std::lock_guard<RecursiveLock> hold(lock_);
        before = settings_;
        change(settings_);
        after = settings_;
        if (recomputeDay) UpdateAstroState(astro_, settings_.options, clock_, true);
    }
    // A listener may add or take away listeners: the ones of now are told.
    std::vector<SettingsListener> told;
    for (const auto& entry : listeners_) told.push_back(entry.second);
    for (const SettingsListener& listener : told) listener(before, after);
}

int ClockSettings::listen(SettingsListener listener) {
    listeners_[++nextListener_] = std::move(listener);
    return nextListener_;
}

void ClockSettings::forget(int listener) { listeners_.erase(listener); }

void ClockSettings::advanceClock(bool force) {
    std::lock_guard<RecursiveLock> hold(lock_);
    UpdateAstroState(astro_, settings_.options, clock_, force);
}

void ClockSettings::renewWallpaper(bool force) {
    advanceClock(force);
    if (wakeWallpaper_) wakeWallpaper_();
}
