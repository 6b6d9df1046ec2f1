#include "desktop/WallpaperPlan.h"

#include "OptionsTestDoubles.h"

#include <gtest/gtest.h>

#include <set>

namespace {

// Three monitors: the primary with its taskbar at the bottom, one to its left with a taskbar on
// its left edge, and a larger one to its right reaching higher, with no taskbar.
WallpaperLayout ThreeMonitors() {
    WallpaperLayout layout;
    layout.primary = {"", {0, 0, 1920, 1080}, {0, 0, 1920, 1040}, 144};
    layout.monitors = {{"LEFT", {-1280, 0, 0, 1024}, {-1200, 0, 0, 1024}, 96},
                       layout.primary,
                       {"RIGHT", {1920, -360, 4480, 1080}, {1920, -360, 4480, 1080}, 192}};
    layout.monitors[1].id = "MIDDLE";
    return layout;
}

TEST(WallpaperPlan, EachMonitorGetsItsOwnSizeDpiAndTaskbarEdges) {
    const std::vector<PlannedPicture> plan = PlanWallpaperPictures(ThreeMonitors());
    ASSERT_EQ(plan.size(), 3u);
    struct Expected {
        const char* id;
        int width, height, left, top, right, bottom, dpi;
    };
    const Expected expected[] = {{"LEFT", 1280, 1024, 80, 0, 0, 0, 96},
                                 {"MIDDLE", 1920, 1080, 0, 0, 0, 40, 144},
                                 {"RIGHT", 2560, 1440, 0, 0, 0, 0, 192}};
    std::set<std::string> names;
    for (size_t i = 0; i < plan.size(); ++i) {
        const PlannedPicture& p = plan[i];
        const Expected& e = expected[i];
        SCOPED_TRACE(e.id);
        EXPECT_EQ(p.target, PictureTarget::OneMonitor);
        EXPECT_EQ(p.monitorId, e.id);
        EXPECT_EQ(p.width, e.width);
        EXPECT_EQ(p.height, e.height);
        EXPECT_EQ(p.coveredLeft, e.left);
        EXPECT_EQ(p.coveredTop, e.top);
        EXPECT_EQ(p.coveredRight, e.right);
        EXPECT_EQ(p.coveredBottom, e.bottom);
        EXPECT_EQ(p.dpi, e.dpi);
        EXPECT_TRUE(IsMonitorPictureName(p.fileName)) << p.fileName;
        EXPECT_EQ(p.fileName, MonitorPictureName(e.id)) << "the same name at every renewal";
        names.insert(p.fileName);
    }
    EXPECT_EQ(names.size(), 3u);
}

TEST(WallpaperPlan, OnePictureAcrossAllKeepsItsPhasesWhereEveryScreenShows) {
    WallpaperLayout layout = ThreeMonitors();
    layout.acrossMonitors = true;
    const std::vector<PlannedPicture> plan = PlanWallpaperPictures(layout);
    ASSERT_EQ(plan.size(), 1u);
    const PlannedPicture& p = plan[0];
    EXPECT_EQ(p.target, PictureTarget::AllMonitors);
    EXPECT_EQ(p.fileName, kDesktopPictureName);
    EXPECT_EQ(p.width, 5760);
    EXPECT_EQ(p.height, 1440);
    // The rows every monitor's work area shares: from the top of the lower two (360 below the
    // picture's top) to the bottom of the shortest, the left one (56 above the picture's bottom).
    EXPECT_EQ(p.coveredTop, 360);
    EXPECT_EQ(p.coveredBottom, 56);
    EXPECT_EQ(p.coveredLeft, 80);
    EXPECT_EQ(p.coveredRight, 0);

    // Stacked monitors share no rows: the phases stay on the primary's work area.
    layout.monitors = {layout.primary, {"ABOVE", {0, -1080, 1920, 0}, {0, -1080, 1920, 0}, 96}};
    const PlannedPicture stacked = PlanWallpaperPictures(layout).at(0);
    EXPECT_EQ(stacked.height, 2160);
    EXPECT_EQ(stacked.coveredTop, 1080);
    EXPECT_EQ(stacked.coveredBottom, 40);
}

TEST(WallpaperPlan, OnePictureForTheWholeDesktopWithoutTheShellOrWithATypedSize) {
    WallpaperLayout layout = ThreeMonitors();
    layout.monitors.clear();
    PlannedPicture p = PlanWallpaperPictures(layout).at(0);
    EXPECT_EQ(p.target, PictureTarget::WholeDesktop);
    EXPECT_EQ(p.fileName, kDesktopPictureName);
    EXPECT_EQ(p.width, 1920);
    EXPECT_EQ(p.coveredBottom, 40);

    // A typed size: one picture of it, the taskbar's edge scaled to it (Windows stretches it).
    layout = ThreeMonitors();
    layout.fullDesktop = false;
    layout.storedWidth = 960;
    layout.storedHeight = 540;
    ASSERT_EQ(PlanWallpaperPictures(layout).size(), 1u);
    p = PlanWallpaperPictures(layout)[0];
    EXPECT_EQ(p.target, PictureTarget::WholeDesktop);
    EXPECT_EQ(p.width, 960);
    EXPECT_EQ(p.coveredBottom, 20);
    // A stored size out of range keeps the screen's.
    layout.storedWidth = 0;
    EXPECT_EQ(PlanWallpaperPictures(layout)[0].width, 1920);

    // Monitors the shell lists without a usable area are left out; none left: the whole desktop.
    layout = ThreeMonitors();
    layout.monitors = {{"EMPTY", {0, 0, 0, 0}, {}, 96}, {"HUGE", {0, 0, 20000, 1080}, {}, 96}};
    EXPECT_EQ(PlanWallpaperPictures(layout).at(0).target, PictureTarget::WholeDesktop);
}

TEST(WallpaperPlan, OneMonitorGetsOneSolvaneBmpWhicheverWayAcross) {
    for (const bool across : {false, true}) {
        WallpaperLayout layout = ThreeMonitors();
        layout.monitors = {layout.primary};
        layout.acrossMonitors = across;
        const std::vector<PlannedPicture> plan = PlanWallpaperPictures(layout);
        ASSERT_EQ(plan.size(), 1u);
        EXPECT_TRUE(plan[0].target == PictureTarget::OneMonitor && plan[0].fileName == kDesktopPictureName);
        EXPECT_EQ(plan[0].coveredBottom, 40);
    }
}

TEST(WallpaperPlan, OnlyTheMonitorsPictureNamesAreTakenForOurs) {
    EXPECT_TRUE(IsMonitorPictureName("Solvane-0badf00d.bmp"));
    for (const char* other : {"Solvane.bmp", "Solvane-0badf00g.bmp", "Solvane-0BADF00D.bmp", "Solvane-0badf00d.bmp.new",
                              "Solvane-0badf00.bmp", "Other-0badf00d.bmp"}) {
        EXPECT_FALSE(IsMonitorPictureName(other)) << other;
    }
    EXPECT_NE(MonitorPictureName("\\\\?\\DISPLAY#A"), MonitorPictureName("\\\\?\\DISPLAY#B"));
}

using Pos = WallpaperPosition;
constexpr HeldPlacement kNone = {};

// The placement changes only where the pictures need it, the user's own is held meanwhile and
// given back once they no longer do; a placement found changed is the user's new choice.
TEST(WallpaperPlacement, ChangedOnlyWhereThePicturesNeedIt) {
    WallpaperLayout own = ThreeMonitors(), across = ThreeMonitors(), single = ThreeMonitors(), whole = ThreeMonitors();
    across.acrossMonitors = true;
    single.monitors = {single.primary};
    whole.monitors.clear();
    struct Case {
        const char* what;
        const WallpaperLayout& layout;
        Pos current;
        HeldPlacement held;
        bool change;
        Pos position;
        HeldPlacement after;
    };
    const Case cases[] = {
        {"own pictures in the user's Fill", own, Pos::Fill, kNone, false, Pos::Fill, kNone},
        {"own pictures cannot span", own, Pos::Span, kNone, true, Pos::Fill, {true, Pos::Span, Pos::Fill}},
        {"own pictures again, still held", own, Pos::Fill, {true, Pos::Span, Pos::Fill}, false, Pos::Fill,
         {true, Pos::Span, Pos::Fill}},
        {"the user chose Stretch since", own, Pos::Stretch, {true, Pos::Span, Pos::Fill}, false, Pos::Stretch, kNone},
        {"one monitor may span", single, Pos::Span, kNone, false, Pos::Span, kNone},
        {"one picture across all must span", across, Pos::Fit, kNone, true, Pos::Span, {true, Pos::Fit, Pos::Span}},
        {"across all in the user's Span", across, Pos::Span, kNone, false, Pos::Span, kNone},
        {"across all after own pictures: the user's Span back", across, Pos::Fill, {true, Pos::Span, Pos::Fill},
         true, Pos::Span, kNone},
        {"own pictures after across all: the user's Fit back", own, Pos::Span, {true, Pos::Fit, Pos::Span}, true,
         Pos::Fit, kNone},
        {"a typed size: the user's Center back", whole, Pos::Span, {true, Pos::Center, Pos::Span}, true, Pos::Center,
         kNone},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const PlacementStep step = PlaceWallpaperPictures(PlanWallpaperPictures(c.layout), c.current, c.held);
        EXPECT_EQ(step.change, c.change);
        if (c.change) {
            EXPECT_EQ(step.position, c.position);
        }
        EXPECT_EQ(step.held.held, c.after.held);
        if (c.after.held) {
            EXPECT_TRUE(step.held.users == c.after.users && step.held.applied == c.after.applied);
        }
    }
}

TEST(WallpaperPlacement, GivenBackWhenSwitchedOffUnlessTheUserChoseAnother) {
    const PlacementStep back = GiveBackPlacement(Pos::Fill, {true, Pos::Span, Pos::Fill});
    EXPECT_TRUE(back.change && back.position == Pos::Span && !back.held.held);
    const PlacementStep kept = GiveBackPlacement(Pos::Center, {true, Pos::Span, Pos::Fill});
    EXPECT_FALSE(kept.change || kept.held.held) << "the user's newer choice stays";
    EXPECT_FALSE(GiveBackPlacement(Pos::Span, kNone).change);
}

// Kept where the uninstaller reads it; a damaged value holds nothing.
TEST(WallpaperPlacement, HeldInTheRegistryAndDroppedWhenDamaged) {
    RecordingRegistry registry;
    EXPECT_FALSE(LoadHeldPlacement(registry).held);
    ASSERT_TRUE(StoreHeldPlacement(registry, {true, Pos::Span, Pos::Fill}));
    EXPECT_EQ(*registry.find(RegistryRoot::CurrentUser, kHeldPlacementKeyPath, "UserPosition"), std::string("5\0", 2));
    const HeldPlacement held = LoadHeldPlacement(registry);
    EXPECT_TRUE(held.held && held.users == Pos::Span && held.applied == Pos::Fill);
    for (const char* damaged : {"6", "", "x"}) {
        registry.setString(RegistryRoot::CurrentUser, kHeldPlacementKeyPath, "AppliedPosition", damaged, true);
        EXPECT_FALSE(LoadHeldPlacement(registry).held) << damaged;
    }
    ASSERT_TRUE(StoreHeldPlacement(registry, kNone));
    EXPECT_TRUE(registry.values.empty());
}

}  // namespace
