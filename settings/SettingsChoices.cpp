#include "settings/SettingsChoices.h"

#include "res/resource.h"

#include <cstdlib>

const RadioValue kViewpointRadios[8] = {
    {IDC_VIEW_FROM_SUN, kViewFromSun},           {IDC_VIEW_FROM_MOON, kViewFromMoon},
    {IDC_VIEW_OVER_HOME, kViewOverHome},         {IDC_VIEW_OVER_SUNRISE, kViewOverSunrise},
    {IDC_VIEW_OVER_SUNSET, kViewOverSunset},     {IDC_VIEW_TICKING, kViewTickingGlobe},
    {IDC_VIEW_MOUSE, kViewMouseDrag},            {IDC_VIEW_SPINNING, kViewSpinningGlobe},
};

const RadioValue kTimeDisplayRadios[6] = {
    {IDC_TIME_LOCAL_CIVIL, kTimeLocalCivil},
    {IDC_TIME_UTC, kTimeUtc},
    {IDC_TIME_GREENWICH_SIDEREAL, kTimeGreenwichSidereal},
    {IDC_TIME_LOCAL_SIDEREAL, kTimeLocalSidereal},
    {IDC_TIME_JULIAN_DAY, kTimeJulianDay},
    {IDC_TIME_NONE, kTimeNone},
};

const FlagBox kDisplayFlagBoxes[10] = {
    {IDC_NIGHT_SHADOW, kShowNightShadow},   {IDC_URBAN_LIGHTING, kUrbanLighting},
    {IDC_REALISTIC_TERMINATOR, kRealisticTerminator},
    {IDC_SIMULATED_CLOUDS, kSimulatedClouds}, {IDC_SHOW_SUN, kShowSun},
    {IDC_SHOW_MOON, kShowMoon},             {IDC_LOCAL_24_HOUR, kLocalTime24Hour},
    {IDC_SHOW_TIME_ZONE, kShowTimeZone},    {IDC_SHOW_GRID, kShowGrid},
    {IDC_HIGHLIGHT_HOME, kHighlightHome},
};

namespace {

template <std::size_t N>
int RadioFor(const RadioValue (&radios)[N], int32_t value, int fallback) {
    for (const RadioValue& radio : radios) {
        if (radio.value == value) return radio.control;
    }
    return fallback;
}

}  // namespace

bool IsValidWallpaperSize(unsigned width, unsigned height) {
    return width >= 1 && width <= kMaxWallpaperSide && height >= 1 && height <= kMaxWallpaperSide;
}

unsigned NearestWallpaperSide(int32_t stored) {
    if (stored < 1) return 1;
    return unsigned(stored) > kMaxWallpaperSide ? kMaxWallpaperSide : unsigned(stored);
}

int32_t StoredWallpaperMinutes(unsigned typed) {
    // The typed number's bits as a signed number, so that a wrapped negative count stays small.
    const long long magnitude = std::llabs(static_cast<long long>(static_cast<int32_t>(typed)));
    if (magnitude < kMinWallpaperMinutes) return kMinWallpaperMinutes;
    if (magnitude > kMaxWallpaperMinutes) return kMaxWallpaperMinutes;
    return int32_t(magnitude);
}

bool ApplyGeneralChoices(const GeneralChoices& c, UserOptions& o) {
    o.startWithWindows = c.startWithWindows;
    o.startInTrayOnly = c.startInTrayOnly;
    o.hideSplash = c.hideSplash;
    o.wallpaperEnabled = c.wallpaperEnabled;
    o.wallpaperFullDesktop = c.wallpaperFullDesktop;
    o.wallpaperMoonPhases = c.wallpaperMoonPhases;
    o.wallpaperMinutes = StoredWallpaperMinutes(c.wallpaperMinutes);
    o.wallpaperWidth = int32_t(c.wallpaperWidth);
    o.wallpaperHeight = int32_t(c.wallpaperHeight);
    o.wallpaperAcrossMonitors = c.wallpaperAcrossMonitors ? 1 : 0;
    const int32_t hardware = c.useHardware3D ? 1 : 0;
    const bool changed = o.useHardware3D != hardware;
    o.useHardware3D = hardware;
    return changed;
}

int ViewpointRadioFor(int32_t viewpoint) {
    return RadioFor(kViewpointRadios, viewpoint, IDC_VIEW_OVER_HOME);
}

int TimeDisplayRadioFor(int32_t timeDisplay) {
    return RadioFor(kTimeDisplayRadios, timeDisplay, IDC_TIME_NONE);
}

uint32_t ClockSettingsFlagMask() {
    uint32_t mask = 0;
    for (const FlagBox& box : kDisplayFlagBoxes) mask |= box.flag;
    return mask;
}

void ApplyClockChoices(const ClockChoices& c, UserOptions& o) {
    const uint32_t mask = ClockSettingsFlagMask();
    o.viewpoint = c.viewpoint;
    o.timeDisplay = c.timeDisplay;
    o.displayFlags = (o.displayFlags & ~mask) | (c.displayFlags & mask);
    o.spinSpeed = c.spinSpeed < 1 ? 1 : c.spinSpeed > 10 ? 10 : c.spinSpeed;
}
