#include "app/ClockSettings.h"

#include "astro/FixedClock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <mutex>
#include <vector>

namespace {

FixedClock Noon() { return FixedClock({2024, 6, 21, 5, 12, 0, 0}, 0); }

TEST(ClockSettings, AnUpdateIsAppliedThenToldWithTheOptionsBeforeAndAfter) {
    FixedClock clock = Noon();
    ClockSettings settings(clock);
    settings.update([](UserOptions& o) { SetDefaultOptions(o); });
    std::vector<std::pair<int32_t, int32_t>> heard;
    const int listener = settings.listen([&](const Settings& before, const Settings& after) {
        heard.push_back({before.options.viewpoint, after.options.viewpoint});
        EXPECT_EQ(settings.snapshot().viewpoint, after.options.viewpoint) << "told once applied";
    });
    settings.update([](UserOptions& o) { o.viewpoint = kViewFromMoon; });
    settings.update([](UserOptions& o) { o.viewpoint = kViewSpinningGlobe; });
    settings.forget(listener);
    settings.update([](UserOptions& o) { o.viewpoint = kViewFromSun; });
    const std::vector<std::pair<int32_t, int32_t>> expected = {{kViewOverHome, kViewFromMoon},
                                                               {kViewFromMoon, kViewSpinningGlobe}};
    EXPECT_EQ(heard, expected);
    EXPECT_EQ(settings.snapshot().viewpoint, kViewFromSun);
}

// The world settings change through the same path, and their listeners see both halves.
TEST(ClockSettings, AWorldChangeIsToldWithTheOptionsUnchanged) {
    FixedClock clock = Noon();
    ClockSettings settings(clock);
    settings.update([](UserOptions& o) { o.viewpoint = kViewFromMoon; });
    int told = 0;
    settings.listen([&](const Settings& before, const Settings& after) {
        ++told;
        EXPECT_TRUE(before.world.places.empty());
        ASSERT_EQ(after.world.places.size(), 1u);
        EXPECT_EQ(after.world.places[0].name, "Tokyo");
        EXPECT_EQ(before.options.viewpoint, after.options.viewpoint);
    });
    settings.update([](WorldSettings& w) { w.places.push_back({"Tokyo", 35.6895, 139.69171, "Tokyo Standard Time", true}); });
    EXPECT_EQ(told, 1);
    EXPECT_EQ(settings.world().places.at(0).timeZone, "Tokyo Standard Time");
}

// A listener may wait for another thread that takes the lock (a window's, or the tick).
TEST(ClockSettings, ListenersAreToldOutsideTheLock) {
    FixedClock clock = Noon();
    ClockSettings settings(clock);
    bool lockFree = false;
    settings.listen([&](const Settings&, const Settings&) {
        auto other = std::async(std::launch::async, [&] {
            std::lock_guard<RecursiveLock> hold(settings.shared().lock);
        });
        lockFree = other.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
    });
    settings.update([](UserOptions& o) { o.spinSpeed = 3; });
    EXPECT_TRUE(lockFree);
}

// A listener that adds or takes away listeners: only those of the moment of the change hear it.
TEST(ClockSettings, ListenersChangedWhileTellingHearTheNextChange) {
    FixedClock clock = Noon();
    ClockSettings settings(clock);
    int late = 0, second = 0;
    int secondId = 0;
    settings.listen([&](const Settings&, const Settings&) {
        if (secondId != 0) settings.forget(secondId);
        secondId = 0;
        settings.listen([&](const Settings&, const Settings&) { ++late; });
    });
    secondId = settings.listen([&](const Settings&, const Settings&) { ++second; });
    settings.update([](UserOptions& o) { o.spinSpeed = 2; });
    EXPECT_EQ(second, 1) << "taken away during the change it hears";
    EXPECT_EQ(late, 0) << "added during the change";
    settings.update([](UserOptions& o) { o.spinSpeed = 4; });
    EXPECT_EQ(second, 1);
    EXPECT_EQ(late, 1);
}

}  // namespace
