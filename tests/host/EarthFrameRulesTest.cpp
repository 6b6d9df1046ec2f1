#include "desktop/EarthFrameRules.h"
#include "desktop/HomeZoneDay.h"

#include "app/UserOptions.h"
#include "astro/AstroState.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

namespace {

UserOptions Defaults() {
    UserOptions o;
    SetDefaultOptions(o);
    return o;
}

TEST(EarthFrameRules, ChildrenAboveAndWithoutThePane) {
    ChildLayout shown = LayoutChildren(570, 480, false);
    EXPECT_TRUE(shown.paneShown);
    EXPECT_EQ(shown.view.height, 480 - 159);
    EXPECT_EQ(shown.pane.y, 480 - 159);
    EXPECT_EQ(shown.pane.height, 159);
    EXPECT_EQ(shown.pane.width, 570);
    ChildLayout hidden = LayoutChildren(570, 480, true);
    EXPECT_FALSE(hidden.paneShown);
    EXPECT_EQ(hidden.view.height, 480);
}

TEST(EarthFrameRules, StoredRectangleFollowsOnlyNormalMovesAndSizes) {
    const Box o = {0, 0, 570, 520};
    EXPECT_TRUE(StoresRectOnSize(false, false, false));
    EXPECT_FALSE(StoresRectOnSize(true, false, false));
    EXPECT_FALSE(StoresRectOnSize(false, true, false));
    EXPECT_FALSE(StoresRectOnSize(false, false, true));
    EXPECT_TRUE(StoresRectOnMove(false, o, 100, 50, 670, 570));
    EXPECT_FALSE(StoresRectOnMove(false, o, -32000, -32000, -31840, -31973)) << "minimised";
    EXPECT_FALSE(StoresRectOnMove(true, o, 100, 50, 670, 570));
    EXPECT_FALSE(StoresRectOnMove(false, o, 100, 50, 670, 50)) << "zero height";
}

// The pane's minimum holds only while it shows; the globe alone needs a client of 200 x 150.
// Both follow the DPI, the frame's own parts as the system gives them.
TEST(EarthFrameRules, TheSmallestWindowWithAndWithoutThePane) {
    struct Case {
        bool pane;
        Extent frame;
        int dpi;
        Extent expected;
    } cases[] = {
        {true, {20, 62}, 96, {580, 420}},
        {false, {20, 62}, 96, {220, 212}},
        {false, {20, 81}, 96, {220, 231}},  // a menu bar on two rows
        {true, {30, 90}, 144, {870, 630}},
        {false, {30, 90}, 144, {330, 315}},
        {true, {500, 400}, 96, {700, 550}},  // a frame wider than the pane's minimum leaves
    };                                       // the globe its room all the same
    for (const Case& c : cases) {
        const Extent minimum = MinimumFrameSize(c.pane, c.frame, c.dpi);
        EXPECT_EQ(minimum.width, c.expected.width) << c.pane << " " << c.dpi;
        EXPECT_EQ(minimum.height, c.expected.height) << c.pane << " " << c.dpi;
    }
}

// Where a stored rectangle opens, on a 1920 x 1040 work area at (0, 0) and on a second
// monitor's at (1920, 0), with the pane's minimum or the globe's alone.
TEST(EarthFrameRules, WindowOpensOnTheWorkAreaWithAUsableSize) {
    const Box work = {0, 0, 1920, 1040};
    const Extent globe = {220, 212};
    struct Case {
        const char* what;
        int left, top, right, bottom;
        Box work, expected;
        Extent minimum = {580, 420};
    } cases[] = {
        {"inside: kept as stored", 40, 30, 640, 560, work, {40, 30, 600, 530}},
        {"on the second monitor", 2000, 100, 2600, 630, {1920, 0, 1280, 1024}, {2000, 100, 600, 530}},
        {"monitor removed: pulled onto the nearest", 2500, 300, 3100, 830, work, {1320, 300, 600, 530}},
        {"above and left of the screen", -900, -700, -300, -170, work, {0, 0, 600, 530}},
        {"no size (a zeroed file)", 0, 0, 0, 0, work, {0, 0, 580, 420}},
        {"upside down", 500, 500, 100, 100, work, {500, 500, 580, 420}},
        {"larger than the work area", -10, -10, 5000, 4000, work, {0, 0, 1920, 1040}},
        {"extreme values do not overflow", INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, work, {0, 0, 1920, 1040}},
        {"work area smaller than the minimum", 0, 0, 600, 530, {0, 0, 320, 200}, {0, 0, 320, 200}},
        {"the globe alone: small kept", 40, 30, 264, 242, work, {40, 30, 224, 212}, globe},
        {"the globe alone: smaller enlarged", 40, 30, 140, 80, work, {40, 30, 220, 212}, globe},
        {"the same with the pane", 40, 30, 264, 242, work, {40, 30, 580, 420}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Box placed = PlaceFrame(c.left, c.top, c.right, c.bottom, c.work, c.minimum);
        EXPECT_EQ(placed.x, c.expected.x);
        EXPECT_EQ(placed.y, c.expected.y);
        EXPECT_EQ(placed.width, c.expected.width);
        EXPECT_EQ(placed.height, c.expected.height);
    }
}

TEST(EarthFrameRules, DetailsPaneRowsColumnsAndTexts) {
    UserOptions o = Defaults();
    o.timeZoneBias = 300;
    AstroState s = {};
    s.localYear = 2026, s.localMonth = 12, s.localDay = 8, s.localHour = 9;
    s.utcYear = 2026, s.utcMonth = 12, s.utcDay = 8, s.utcHour = 14;
    s.julianDate = 2461383.0833333;
    s.greenwichSiderealTime = 19.156;
    s.sunrise = 12.1, s.sunset = 22.48, s.localNoon = 17.29, s.twilightStart = 11.67;
    s.twilightEnd = -1000;
    const std::vector<PaneText> texts = DataPaneTexts(o, s, 600, 14);
    auto find = [&](const std::string& text) {
        return std::find_if(texts.begin(), texts.end(), [&](const PaneText& t) { return t.text == text; });
    };
    const int x0 = 600 / 2 - 275;
    ASSERT_NE(find("Location:"), texts.end());
    EXPECT_EQ(find("Location:")->x, x0 + 20);
    EXPECT_EQ(find("Location:")->y, 2);
    EXPECT_EQ(find("Local:")->y, 17);
    EXPECT_EQ(find("GMT:")->y, 32);
    EXPECT_EQ(find("Sunrise:")->y, 47);
    EXPECT_EQ(find("Local Noon:")->x, x0 + 320);
    EXPECT_EQ(find("Local Noon:")->y, 62);
    EXPECT_NE(find("Orlando, FL   28\xB0 33' 00\" N   81\xB0 22' 48\" W                        "), texts.end());
    EXPECT_NE(find("December 8, 2026 09:00:00 AM "), texts.end());
    ASSERT_NE(find("07:06 a.m."), texts.end());
    EXPECT_EQ(find("07:06 a.m.")->x, x0 + 77);
    EXPECT_EQ(find("07:06 a.m.")->y, 47);
    EXPECT_NE(find("05:29 p.m."), texts.end());
    EXPECT_NE(find("Never"), texts.end()) << "twilight end marker";
    EXPECT_NE(find("2461383.08333"), texts.end());
    EXPECT_EQ(find("2461383.08333")->x, x0 + 440);
    EXPECT_FALSE(find("Never")->label);
    EXPECT_LT(PaneBlockLeft(500), 0) << "clipped on the left below 550 pixels";

    // A home in a named zone: its own clock and events (already local: no PC bias taken off),
    // the zone named after the place; UTC stays the clock's.
    HomeZoneDay sydney;
    sydney.local = {2026, 12, 9, 3, 1, 2, 3};
    sydney.zoneName = "AUS Eastern Daylight Time";
    sydney.sunrise = 5.7, sydney.twilightEnd = 99;
    const std::vector<PaneText> zoned = DataPaneTexts(o, s, 600, 14, 96, &sydney);
    for (const char* text : {"December 9, 2026 01:02:03 AM ", "December 8, 2026 14:00:00 UTC", "05:42 a.m.", "Always",
                             "Orlando, FL   28\xB0 33' 00\" N   81\xB0 22' 48\" W   AUS Eastern Daylight Time"}) {
        EXPECT_TRUE(std::any_of(zoned.begin(), zoned.end(), [&](const PaneText& t) { return t.text == text; })) << text;
    }
    EXPECT_EQ(find("Orlando, FL   28\xB0 33' 00\" N   81\xB0 22' 48\" W                        ")->width, 0)
        << "no note: the place is not cut short";

    // A solar eclipse at home: the note ends the top row in room of its own, at 96 and 192 DPI;
    // a long place name stops short of it (cut with an ellipsis when drawn).
    SetFieldText(o.homeName, std::string("Llanfairpwllgwyngyllgogerychwyrndrobwllllantysiliogogogoch, Wales"));
    for (const int dpi : {96, 192}) {
        const std::vector<PaneText> noted = DataPaneTexts(o, s, 1200, 14, dpi, &sydney, "Solar eclipse 63%");
        const auto note = std::find_if(noted.begin(), noted.end(), [](const PaneText& t) { return t.text == "Solar eclipse 63%"; });
        const auto place = std::find_if(noted.begin(), noted.end(), [](const PaneText& t) { return t.text.find("Llanfair") == 0; });
        ASSERT_NE(note, noted.end());
        ASSERT_NE(place, noted.end());
        EXPECT_EQ(place->text.find("Solar eclipse"), std::string::npos);
        EXPECT_NE(place->text.find("AUS Eastern Daylight Time"), std::string::npos);
        EXPECT_TRUE(note->rightAligned);
        EXPECT_EQ(note->y, place->y);
        EXPECT_EQ(note->x, 600 - AtDpi(275, dpi) + AtDpi(530, dpi)) << dpi;
        EXPECT_GT(place->width, 0);
        EXPECT_LT(place->x + place->width, note->x - note->width) << dpi;
    }
}

TEST(EarthFrameRules, ContextMenuChecksAndCommands) {
    UserOptions o = Defaults();
    std::vector<unsigned> checked = CheckedContextCommands(o);
    auto has = [&](unsigned c) { return std::find(checked.begin(), checked.end(), c) != checked.end(); };
    EXPECT_TRUE(has(kCmdDetailsPane));
    EXPECT_TRUE(has(kCmdOverHome));
    EXPECT_TRUE(has(kCmdLocalTime));
    EXPECT_TRUE(has(kCmdNightShadow));
    EXPECT_TRUE(has(kCmdRealisticTerminator));
    EXPECT_FALSE(has(kCmdUrbanLighting));
    o.viewpoint = 9;
    o.timeDisplay = 2;
    checked = CheckedContextCommands(o);
    EXPECT_TRUE(has(kCmdTickingGlobe)) << "unknown viewpoints check Ticking Globe";
    EXPECT_TRUE(has(kCmdNoTime)) << "unknown time displays check No Time Display";

    o.spinSpeed = 7;
    EXPECT_TRUE(ApplyContextCommand(o, kCmdSpinningGlobe));
    EXPECT_EQ(o.viewpoint, kViewSpinningGlobe);
    EXPECT_EQ(o.spinSpeed, 1);
    EXPECT_TRUE(ApplyContextCommand(o, kCmdJulianDay));
    EXPECT_EQ(o.timeDisplay, kTimeJulianDay);
    const uint32_t flags = o.displayFlags;
    EXPECT_TRUE(ApplyContextCommand(o, kCmdSimulatedClouds));
    EXPECT_EQ(o.displayFlags, flags | kSimulatedClouds);
    EXPECT_TRUE(ApplyContextCommand(o, kCmdSimulatedClouds));
    EXPECT_EQ(o.displayFlags, flags);
    EXPECT_TRUE(ApplyContextCommand(o, kCmdDetailsPane));
    EXPECT_EQ(o.detailsPaneHidden, 1);
    EXPECT_TRUE(ApplyContextCommand(o, kCmdDetailsPane));
    EXPECT_EQ(o.detailsPaneHidden, 0);
    EXPECT_FALSE(ApplyContextCommand(o, 12345));

    // Every command the menu lists is one the options know, and each checked one is listed.
    const std::vector<unsigned> all = ContextCommands();
    EXPECT_EQ(all.size(), 25u);
    for (unsigned command : all) {
        UserOptions copy = Defaults();
        EXPECT_TRUE(ApplyContextCommand(copy, command)) << command;
    }
    for (unsigned command : CheckedContextCommands(Defaults())) {
        EXPECT_NE(std::find(all.begin(), all.end(), command), all.end()) << command;
    }
}

TEST(EarthFrameRules, WhatAChangeOfTheOptionsAsksOfTheWindowAndTheTick) {
    struct Case {
        const char* change;
        void (*apply)(UserOptions&);
        bool pane, view, tick;
    };
    const Case cases[] = {
        {"nothing", [](UserOptions&) {}, false, false, false},
        {"window moved", [](UserOptions& o) { o.frameLeft += 10, o.frameRight += 10; }, false, false, false},
        {"notice seen", [](UserOptions& o) { o.noticeFlags = 0; }, false, false, false},
        {"time server typed", [](UserOptions& o) { o.customTimeServer[0] = 'x'; }, false, false, false},
        {"pane hidden", [](UserOptions& o) { o.detailsPaneHidden = 1; }, true, false, false},
        {"pane hidden as 2", [](UserOptions& o) { o.detailsPaneHidden = 2; }, true, false, false},
        {"night shadow", [](UserOptions& o) { o.displayFlags ^= kShowNightShadow; }, false, true, false},
        {"time display", [](UserOptions& o) { o.timeDisplay = kTimeJulianDay; }, false, true, false},
        {"spin speed", [](UserOptions& o) { o.spinSpeed = 9; }, false, true, false},
        {"home moved", [](UserOptions& o) { o.homeLatitude = 64.1f; }, false, true, false},
        {"viewpoint", [](UserOptions& o) { o.viewpoint = kViewSpinningGlobe; }, false, true, true},
        {"wallpaper on", [](UserOptions& o) { o.wallpaperEnabled = 1; }, false, false, true},
        {"wallpaper minutes", [](UserOptions& o) { o.wallpaperMinutes = 5; }, false, false, true},
    };
    for (const Case& c : cases) {
        const UserOptions before = Defaults();
        UserOptions after = before;
        c.apply(after);
        const ChangeEffects e = EffectsOfChange(before, after);
        EXPECT_EQ(e.paneToggled, c.pane) << c.change;
        EXPECT_EQ(e.viewRedrawn, c.view) << c.change;
        EXPECT_EQ(e.tickWoken, c.tick) << c.change;
    }
}

}  // namespace
