// The user's options: one 488-byte little-endian record, stored raw as "user.bin" and read
// by both the clock and the screen saver. The layout is fixed; never reorder a field.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

enum Viewpoint : int32_t {
    kViewFromSun = 0,
    kViewFromMoon = 1,
    kViewOverHome = 2,
    kViewOverSunrise = 3,
    kViewOverSunset = 4,
    kViewTickingGlobe = 5,
    kViewMouseDrag = 6,
    kViewSpinningGlobe = 7,
};

enum TimeDisplay : int32_t {
    kTimeNone = 0,
    kTimeUtc = 1,
    kTimeGreenwichSidereal = 3,
    kTimeLocalSidereal = 4,
    kTimeJulianDay = 5,
    kTimeLocalCivil = 6,
};

// Bits of UserOptions::displayFlags.
enum DisplayFlag : uint32_t {
    kShowNightShadow = 0x1,
    kHighlightHome = 0x4,
    kShowSun = 0x8,
    kShowMoon = 0x10,
    kLocalTime24Hour = 0x20,
    kShowTimeZone = 0x40,
    kShowGrid = 0x80,
    kDegreesMinutesSeconds = 0x100,
    kUrbanLighting = 0x200,
    kRealisticTerminator = 0x400,
    kSimulatedClouds = 0x800,
};

// Bits of UserOptions::noticeFlags.
enum NoticeFlag : uint32_t {
    kNoticeFullScreen = 0x1,
    kNoticeCloseToTray = 0x2,
};

struct UserOptions {
    int32_t units;
    int32_t useHardware3D;
    int32_t reserved8;
    int32_t reserved12;
    int32_t viewpoint;
    uint32_t displayFlags;
    int32_t timeDisplay;
    int32_t spinSpeed;
    float homeLongitude;  // degrees, east positive
    float homeLatitude;   // degrees, north positive
    int32_t reserved40;
    int32_t reserved44;
    char homeName[64];  // ANSI, NUL-terminated when well formed
    uint32_t noticeFlags;
    char16_t timeZoneName[32];  // UTF-16, NUL-terminated when well formed
    int32_t timeZoneBias;       // minutes to add to local time to get UTC, daylight saving included
    char customTimeServer[128];
    int32_t frameLeft;
    int32_t frameTop;
    int32_t frameRight;
    int32_t frameBottom;
    uint8_t detailsPaneHidden;
    uint8_t useProxy;
    uint8_t padding330[2];
    int32_t proxyPort;
    char proxyServer[64];
    uint8_t wallpaperEnabled;
    uint8_t wallpaperFullDesktop;
    uint8_t wallpaperMoonPhases;
    uint8_t startWithWindows;
    uint8_t startInTrayOnly;
    uint8_t hideSplash;
    // Byte 406 was alignment padding, always written as 0, which no reader gave a meaning: 0 keeps
    // "Same view on every monitor" for every record written before it had one.
    uint8_t wallpaperAcrossMonitors;  // 1 = one wallpaper picture spans all monitors
    uint8_t padding407;
    int32_t wallpaperMinutes;
    int32_t wallpaperWidth;
    int32_t wallpaperHeight;
    uint8_t reserved420[68];
};

constexpr std::size_t kUserOptionsSize = 488;

static_assert(sizeof(float) == 4, "the record stores IEEE single-precision floats");
static_assert(sizeof(UserOptions) == kUserOptionsSize, "user.bin is exactly 488 bytes");
static_assert(offsetof(UserOptions, units) == 0);
static_assert(offsetof(UserOptions, useHardware3D) == 4);
static_assert(offsetof(UserOptions, reserved8) == 8);
static_assert(offsetof(UserOptions, reserved12) == 12);
static_assert(offsetof(UserOptions, viewpoint) == 16);
static_assert(offsetof(UserOptions, displayFlags) == 20);
static_assert(offsetof(UserOptions, timeDisplay) == 24);
static_assert(offsetof(UserOptions, spinSpeed) == 28);
static_assert(offsetof(UserOptions, homeLongitude) == 32);
static_assert(offsetof(UserOptions, homeLatitude) == 36);
static_assert(offsetof(UserOptions, reserved40) == 40);
static_assert(offsetof(UserOptions, reserved44) == 44);
static_assert(offsetof(UserOptions, homeName) == 48);
static_assert(offsetof(UserOptions, noticeFlags) == 112);
static_assert(offsetof(UserOptions, timeZoneName) == 116);
static_assert(offsetof(UserOptions, timeZoneBias) == 180);
static_assert(offsetof(UserOptions, customTimeServer) == 184);
static_assert(offsetof(UserOptions, frameLeft) == 312);
static_assert(offsetof(UserOptions, frameTop) == 316);
static_assert(offsetof(UserOptions, frameRight) == 320);
static_assert(offsetof(UserOptions, frameBottom) == 324);
static_assert(offsetof(UserOptions, detailsPaneHidden) == 328);
static_assert(offsetof(UserOptions, useProxy) == 329);
static_assert(offsetof(UserOptions, proxyPort) == 332);
static_assert(offsetof(UserOptions, proxyServer) == 336);
static_assert(offsetof(UserOptions, wallpaperEnabled) == 400);
static_assert(offsetof(UserOptions, wallpaperFullDesktop) == 401);
static_assert(offsetof(UserOptions, wallpaperMoonPhases) == 402);
static_assert(offsetof(UserOptions, startWithWindows) == 403);
static_assert(offsetof(UserOptions, startInTrayOnly) == 404);
static_assert(offsetof(UserOptions, hideSplash) == 405);
static_assert(offsetof(UserOptions, wallpaperAcrossMonitors) == 406);
static_assert(offsetof(UserOptions, wallpaperMinutes) == 408);
static_assert(offsetof(UserOptions, wallpaperWidth) == 412);
static_assert(offsetof(UserOptions, wallpaperHeight) == 416);
static_assert(offsetof(UserOptions, reserved420) == 420);

// Clears the record and stores every default; the time-zone fields stay zero.
void SetDefaultOptions(UserOptions& options);

// Puts back the default home when the stored one is not a place on the Earth (not a number, a
// latitude beyond 90 degrees, a longitude beyond 180): the globe over it could not be drawn.
// Other values, even unknown ones, are kept. True when the home was repaired.
bool RepairImpossibleOptions(UserOptions& options);

// Text of a stored field, never read past the field's width even when its NUL is missing.
// The stored bytes are left as they are.
template <std::size_t N>
std::string FieldText(const char (&field)[N]) {
    std::size_t length = 0;
    while (length < N && field[length] != '\0') ++length;
    return std::string(field, length);
}

template <std::size_t N>
std::u16string FieldText(const char16_t (&field)[N]) {
    std::size_t length = 0;
    while (length < N && field[length] != u'\0') ++length;
    return std::u16string(field, length);
}

// Stores text in a fixed field, cut to leave room for the terminating NUL, zero-filled after it.
template <typename Char, std::size_t N>
void SetFieldText(Char (&field)[N], const std::basic_string<Char>& text) {
    std::size_t length = text.size() < N ? text.size() : N - 1;
    for (std::size_t i = 0; i < N; ++i) field[i] = i < length ? text[i] : Char(0);
}
