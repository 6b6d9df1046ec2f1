#include "settings/SettingsChoices.h"

#include "res/resource.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

UserOptions StoredOptions() {
    UserOptions o;
    SetDefaultOptions(o);
    // Fields no dialog shows, with values the dialogs must keep.
    o.units = 1;
    o.useProxy = 1;
    o.proxyPort = 8080;
    SetFieldText(o.proxyServer, std::string("proxy.example.org"));
    SetFieldText(o.customTimeServer, std::string("time.example.org"));
    o.reserved420[5] = 0x5a;
    o.displayFlags = 0xFFFFF000u | kDegreesMinutesSeconds | kShowNightShadow;
    return o;
}

TEST(GeneralChoices, StoreTheShownFieldsAndKeepEveryOtherByte) {
    UserOptions o = StoredOptions();
    o.useHardware3D = 0;
    o.padding407 = 0x33;
    const UserOptions before = o;
    const GeneralChoices c = {true, true, true, true, false, true, 45, 1920, 1080, false, true};
    EXPECT_FALSE(ApplyGeneralChoices(c, o));
    EXPECT_EQ(o.wallpaperMinutes, 30);
    EXPECT_EQ(o.wallpaperWidth, 1920);
    EXPECT_EQ(o.wallpaperHeight, 1080);
    EXPECT_EQ(o.startWithWindows, 1);
    EXPECT_EQ(o.wallpaperFullDesktop, 0);
    EXPECT_EQ(o.wallpaperAcrossMonitors, 1);
    UserOptions shownRestored = o;
    shownRestored.startWithWindows = before.startWithWindows;
    shownRestored.startInTrayOnly = before.startInTrayOnly;
    shownRestored.hideSplash = before.hideSplash;
    shownRestored.wallpaperEnabled = before.wallpaperEnabled;
    shownRestored.wallpaperFullDesktop = before.wallpaperFullDesktop;
    shownRestored.wallpaperMoonPhases = before.wallpaperMoonPhases;
    shownRestored.wallpaperMinutes = before.wallpaperMinutes;
    shownRestored.wallpaperWidth = before.wallpaperWidth;
    shownRestored.wallpaperHeight = before.wallpaperHeight;
    shownRestored.wallpaperAcrossMonitors = before.wallpaperAcrossMonitors;
    EXPECT_EQ(std::memcmp(&shownRestored, &before, sizeof before), 0);
}

TEST(GeneralChoices, HardwareChangeIsReported) {
    UserOptions o = StoredOptions();
    GeneralChoices c = {};
    c.wallpaperMinutes = 5;
    c.wallpaperWidth = c.wallpaperHeight = 100;
    o.useHardware3D = 1;
    EXPECT_TRUE(ApplyGeneralChoices(c, o));
    EXPECT_EQ(o.useHardware3D, 0);
    EXPECT_FALSE(ApplyGeneralChoices(c, o));
    c.useHardware3D = true;
    o.useHardware3D = 7;  // a stray stored value counts as a change to 1
    EXPECT_TRUE(ApplyGeneralChoices(c, o));
    EXPECT_EQ(o.useHardware3D, 1);
}

TEST(GeneralChoices, WallpaperMinutesAndSize) {
    EXPECT_EQ(StoredWallpaperMinutes(0), 1);
    EXPECT_EQ(StoredWallpaperMinutes(1), 1);
    EXPECT_EQ(StoredWallpaperMinutes(30), 30);
    EXPECT_EQ(StoredWallpaperMinutes(31), 30);
    EXPECT_EQ(StoredWallpaperMinutes(0xFFFFFFFBu), 5);   // -5 typed past the digits-only edit
    EXPECT_EQ(StoredWallpaperMinutes(0x80000000u), 30);  // the most negative number
    EXPECT_EQ(NearestWallpaperSide(0), 1u);
    EXPECT_EQ(NearestWallpaperSide(-70000), 1u);
    EXPECT_EQ(NearestWallpaperSide(1920), 1920u);
    EXPECT_EQ(NearestWallpaperSide(70000), 16384u);
    EXPECT_TRUE(IsValidWallpaperSize(1, 1));
    EXPECT_TRUE(IsValidWallpaperSize(16384, 16384));
    EXPECT_FALSE(IsValidWallpaperSize(0, 600));
    EXPECT_FALSE(IsValidWallpaperSize(800, 0));
    EXPECT_FALSE(IsValidWallpaperSize(16385, 600));
    EXPECT_FALSE(IsValidWallpaperSize(99999, 99999));
}

TEST(ClockChoices, RadiosForStoredValues) {
    EXPECT_EQ(ViewpointRadioFor(kViewFromMoon), IDC_VIEW_FROM_MOON);
    EXPECT_EQ(ViewpointRadioFor(kViewSpinningGlobe), IDC_VIEW_SPINNING);
    EXPECT_EQ(ViewpointRadioFor(200), IDC_VIEW_OVER_HOME);
    EXPECT_EQ(ViewpointRadioFor(-1), IDC_VIEW_OVER_HOME);
    EXPECT_EQ(TimeDisplayRadioFor(kTimeJulianDay), IDC_TIME_JULIAN_DAY);
    EXPECT_EQ(TimeDisplayRadioFor(2), IDC_TIME_NONE);
    EXPECT_EQ(TimeDisplayRadioFor(99), IDC_TIME_NONE);
}

TEST(ClockChoices, OnlyTheEditedFlagsChange) {
    UserOptions o = StoredOptions();
    const UserOptions before = o;
    ApplyClockChoices({kViewSpinningGlobe, kTimeUtc, 0, 15}, o);
    EXPECT_EQ(o.viewpoint, kViewSpinningGlobe);
    EXPECT_EQ(o.timeDisplay, kTimeUtc);
    EXPECT_EQ(o.spinSpeed, 10);
    // The coordinate form and the unused high bits stay; every box's bit is cleared.
    EXPECT_EQ(o.displayFlags, 0xFFFFF000u | kDegreesMinutesSeconds);
    ApplyClockChoices({kViewFromSun, kTimeNone, 0xFFFFFFFFu, 0}, o);
    EXPECT_EQ(o.displayFlags, 0xFFFFFFFFu & ~0x2u);
    EXPECT_EQ(o.spinSpeed, 1);
    EXPECT_EQ(std::memcmp(o.reserved420, before.reserved420, sizeof o.reserved420), 0);
    EXPECT_EQ(o.units, 1);
    EXPECT_EQ(o.proxyPort, 8080);
}

}  // namespace
