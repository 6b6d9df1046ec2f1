// What the General and Clock settings dialogs store: the choices read from their controls,
// applied to the options record. Only the fields a dialog shows change; every other byte of
// the record stays as it was (the units and proxy fields above all, which no dialog shows).
#pragma once

#include "app/UserOptions.h"

#include <cstdint>

constexpr int kMinWallpaperMinutes = 1;
constexpr int kMaxWallpaperMinutes = 30;
constexpr unsigned kMaxWallpaperSide = 16384;  // pixels; a 16384-square bitmap is 768 MB

struct GeneralChoices {
    bool startWithWindows, startInTrayOnly, hideSplash;
    bool wallpaperEnabled, wallpaperFullDesktop, wallpaperMoonPhases;
    unsigned wallpaperMinutes;  // as typed
    unsigned wallpaperWidth, wallpaperHeight;
    bool useHardware3D;
    bool wallpaperAcrossMonitors;
};

// Whether a typed wallpaper size can be stored: each side 1 to kMaxWallpaperSide pixels.
bool IsValidWallpaperSize(unsigned width, unsigned height);
// The side within 1 to kMaxWallpaperSide nearest to a stored one.
unsigned NearestWallpaperSide(int32_t stored);
// The minutes to store for what was typed: within 1 to 30.
int32_t StoredWallpaperMinutes(unsigned typed);
// Stores the choices; true when `useHardware3D` changed (the earth window must then restart).
bool ApplyGeneralChoices(const GeneralChoices& choices, UserOptions& options);

// A radio button and the value it stands for.
struct RadioValue {
    int control;
    int32_t value;
};

// The viewpoint radios, and the control checked for a viewpoint (any value not in the table
// checks "Over Home Location").
extern const RadioValue kViewpointRadios[8];
int ViewpointRadioFor(int32_t viewpoint);
// The time-display radios, and the control checked for a time display ("None" for a value not
// in the table).
extern const RadioValue kTimeDisplayRadios[6];
int TimeDisplayRadioFor(int32_t timeDisplay);

// A check box and the display flag it sets.
struct FlagBox {
    int control;
    uint32_t flag;
};
extern const FlagBox kDisplayFlagBoxes[10];
// The display flags the Clock settings dialog edits; the other bits are kept.
uint32_t ClockSettingsFlagMask();

struct ClockChoices {
    int32_t viewpoint;
    int32_t timeDisplay;
    uint32_t displayFlags;  // only the bits of ClockSettingsFlagMask() count
    int32_t spinSpeed;      // 1 to 10
};
void ApplyClockChoices(const ClockChoices& choices, UserOptions& options);
