// The one owner of the user's settings (the options record and the world settings kept beside
// it) and the clock state: copies are read under its lock, and every change goes through
// `update`, which applies it under the lock and then tells the listeners (the clock tick, the
// windows) outside it. Saving is the caller's: `update` only applies.
#pragma once

#include "app/UserOptions.h"
#include "app/WorldSettings.h"
#include "astro/AstroState.h"
#include "platform/RecursiveLock.h"

#include <functional>
#include <map>

class CivilClock;

struct Settings {
    UserOptions options = {};
    WorldSettings world;
};

using OptionsChange = std::function<void(UserOptions&)>;
using WorldChange = std::function<void(WorldSettings&)>;
using SettingsListener = std::function<void(const Settings& before, const Settings& after)>;

class ClockSettings {
public:
    explicit ClockSettings(CivilClock& clock) : clock_(clock) {}
    ClockSettings(const ClockSettings&) = delete;
    ClockSettings& operator=(const ClockSettings&) = delete;

    UserOptions snapshot() const;
    WorldSettings world() const;
    AstroState clockState() const;

    // Applies `change` under the lock, then tells every listener, with the options before and
    // after, once the lock is let go (a listener may take it again, or post to a window whose
    // thread waits for it).
    // With `recomputeDay` the clock state and the Sun's events of the day follow in the same
    // locked step (a new home: no frame shows it with the old home's sunrise).
    void update(const OptionsChange& change, bool recomputeDay = false);
    void update(const WorldChange& change);
    // Adds a listener of `update`; the number returned takes it away again.
    int listen(SettingsListener listener);
    void forget(int listener);

    // Brings the clock state to now; `force` recomputes the Sun's events of the day as well.
    void advanceClock(bool force);
    // What wakes the wallpaper thread; set once at start-up.
    void setWallpaperWake(std::function<void()> wake) { wakeWallpaper_ = std::move(wake); }
    // The clock state brought to now, then the wallpaper thread woken for pictures of it.
    void renewWallpaper(bool force);

    // What the readers on other threads, and the views that draw every frame, share with the
    // owner by reference: they take `lock` while they read, and write only the clock state's
    // instant. The same lock guards the astronomy engine's caches.
    struct Shared {
        const UserOptions& options;
        const WorldSettings& world;
        AstroState& astro;
        CivilClock& clock;
        RecursiveLock& lock;
    };
    Shared shared() { return {settings_.options, settings_.world, astro_, clock_, lock_}; }

private:
    void apply(const std::function<void(Settings&)>& change, bool recomputeDay);

    mutable RecursiveLock lock_;
    Settings settings_;
    AstroState astro_ = {};
    CivilClock& clock_;
    std::map<int, SettingsListener> listeners_;  // touched on the user-interface thread only
    int nextListener_ = 0;
    std::function<void()> wakeWallpaper_;
};
