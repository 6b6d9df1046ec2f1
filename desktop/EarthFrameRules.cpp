#include "desktop/EarthFrameRules.h"

#include "app/Formatting.h"
#include "app/UserOptions.h"
#include "astro/AstroState.h"
#include "desktop/HomeZoneDay.h"

#include <algorithm>
#include <cstdarg>
#include <cstdint>
#include <cstdio>

namespace {

struct ViewpointEntry {
    unsigned command;
    int viewpoint;
};
constexpr ViewpointEntry kViewpoints[] = {
    {kCmdFromSun, kViewFromSun},           {kCmdFromMoon, kViewFromMoon},
    {kCmdOverHome, kViewOverHome},         {kCmdOverSunrise, kViewOverSunrise},
    {kCmdOverSunset, kViewOverSunset},     {kCmdMouseDrag, kViewMouseDrag},
    {kCmdTickingGlobe, kViewTickingGlobe}, {kCmdSpinningGlobe, kViewSpinningGlobe},
};

struct TimeEntry {
    unsigned command;
    int timeDisplay;
};
constexpr TimeEntry kTimes[] = {
    {kCmdLocalTime, kTimeLocalCivil},         {kCmdUtc, kTimeUtc},
    {kCmdGreenwichSidereal, kTimeGreenwichSidereal}, {kCmdLocalSidereal, kTimeLocalSidereal},
    {kCmdJulianDay, kTimeJulianDay},          {kCmdNoTime, kTimeNone},
};

struct FlagEntry {
    unsigned command;
    uint32_t flag;
};
constexpr FlagEntry kFlags[] = {
    {kCmdNightShadow, kShowNightShadow},   {kCmdUrbanLighting, kUrbanLighting},
    {kCmdRealisticTerminator, kRealisticTerminator}, {kCmdSimulatedClouds, kSimulatedClouds},
    {kCmdShowSun, kShowSun},               {kCmdShowMoon, kShowMoon},
    {kCmd24Hour, kLocalTime24Hour},        {kCmdTimeZone, kShowTimeZone},
    {kCmdGrid, kShowGrid},                 {kCmdHighlightHome, kHighlightHome},
};

}  // namespace

ChildLayout LayoutChildren(int cx, int cy, bool paneHidden, int dpi) {
    if (paneHidden) return {{0, 0, cx, cy}, {0, 0, 0, 0}, false};
    const int pane = AtDpi(kDataPaneHeight, dpi);
    return {{0, 0, cx, cy - pane}, {0, cy - pane, cx, pane}, true};
}

bool StoresRectOnSize(bool fullScreen, bool minimised, bool maximised) {
    return !fullScreen && !minimised && !maximised;
}

bool StoresRectOnMove(bool fullScreen, const Box& shown, int left, int top, int right, int bottom) {
    (void)left;
    (void)top;
    return !fullScreen && right - left == shown.width && shown.height != 0 && bottom - top != 0;
}

namespace {

// One side of the rectangle: its extent clamped to [minimum, available] (the available space
// wins when it is smaller), then its start moved so that it lies within the available span.
void PlaceSpan(int64_t start, int64_t end, int64_t minimum, int64_t spanStart, int64_t spanLength,
               int* placedStart, int* placedLength) {
    const int64_t length = std::min(std::max(end - start, minimum), std::max<int64_t>(spanLength, 1));
    start = std::min(std::max(start, spanStart), spanStart + spanLength - length);
    *placedStart = int(start);
    *placedLength = int(length);
}

}  // namespace

Extent MinimumFrameSize(bool paneShown, const Extent& frame, int dpi) {
    const Extent globe = {AtDpi(kMinimumGlobeWidth, dpi) + frame.width, AtDpi(kMinimumGlobeHeight, dpi) + frame.height};
    if (!paneShown) return globe;
    return {std::max(globe.width, AtDpi(kMinimumFrameWidth, dpi)), std::max(globe.height, AtDpi(kMinimumFrameHeight, dpi))};
}

Box PlaceFrame(int left, int top, int right, int bottom, const Box& workArea, const Extent& minimum) {
    Box placed;
    PlaceSpan(left, right, minimum.width, workArea.x, workArea.width, &placed.x, &placed.width);
    PlaceSpan(top, bottom, minimum.height, workArea.y, workArea.height, &placed.y, &placed.height);
    return placed;
}

namespace {
// The home note ends where the block's right margin begins, in room for "Solar eclipse 100%".
constexpr int kPaneNoteRight = 530, kPaneNoteRoom = 120;
}  // namespace

std::vector<PaneText> DataPaneTexts(const UserOptions& o, const AstroState& pc, int clientWidth,
                                    int h, int dpi, const HomeZoneDay* homeZone, const std::string& homeNote) {
    const int x0 = PaneBlockLeft(clientWidth, dpi);
    const int y0 = AtDpi(2, dpi), y1 = h + AtDpi(3, dpi), gap = h + AtDpi(1, dpi);
    const int y2 = y1 + gap, y3 = y1 + 2 * gap, y4 = y1 + 3 * gap;
    const auto x = [&](int column) { return x0 + AtDpi(column, dpi); };
    // In the home's own zone: its local time, and events already in its local hours.
    AstroState s = pc;
    if (homeZone != nullptr) {
        const CivilTime& l = homeZone->local;
        s.localYear = l.year, s.localMonth = l.month, s.localDay = l.day, s.localDayOfWeek = l.dayOfWeek;
        s.localHour = l.hour, s.localMinute = l.minute, s.localSecond = l.second;
        s.sunrise = homeZone->sunrise, s.sunset = homeZone->sunset, s.localNoon = homeZone->noon;
        s.twilightStart = homeZone->twilightStart, s.twilightEnd = homeZone->twilightEnd;
    }
    const double zone = homeZone != nullptr ? 0 : o.timeZoneBias / 60.0;
    std::vector<PaneText> t = {
        {x(20), y0, "Location:", true},        {x(20), y1, "Local:", true},
        {x(20), y2, "GMT:", true},             {x(20), y3, "Sunrise:", true},
        {x(20), y4, "Sunset:", true},          {x(150), y3, "Start Twilight:", true},
        {x(150), y4, "End Twilight:", true},   {x(320), y1, "Local Sidereal:", true},
        {x(320), y2, "Greenwich Sidereal:", true}, {x(320), y3, "Julian Day:", true},
        {x(320), y4, "Local Noon:", true},
    };
    const std::string location =
        Printf("%s   %s   %s", FieldText(o.homeName).c_str(), FormatLatitude(o.homeLatitude, o).c_str(),
               FormatLongitude(o.homeLongitude, o).c_str()) +
        (homeZone != nullptr ? "   " + homeZone->zoneName : std::string()) +
        (homeZone != nullptr || !homeNote.empty() ? std::string() : std::string("                        "));
    // The note's room at the right end of the block; the place stops a little short of it.
    const int locationWidth = homeNote.empty() ? 0 : x(kPaneNoteRight - kPaneNoteRoom - 10) - x(77);
    std::vector<PaneText> values = {
        {x(77), y0, location, false, locationWidth},
        {x(77), y1, FormatLocalDateTime(s, o), false},
        {x(77), y2, FormatUtcDateTime(s), false},
        {x(77), y3, FormatEventTime(s.sunrise - zone, o), false},
        {x(77), y4, FormatEventTime(s.sunset - zone, o), false},
        {x(237), y3, FormatEventTime(s.twilightStart - zone, o), false},
        {x(237), y4, FormatEventTime(s.twilightEnd - zone, o), false},
        {x(440), y1, FormatLocalSidereal(s, o), false},
        {x(440), y2, FormatGreenwichSidereal(s), false},
        {x(440), y3, Printf("%.5f", s.julianDate), false},
        {x(440), y4, FormatEventTime(s.localNoon - zone, o), false},
    };
    if (!homeNote.empty()) values.push_back({x(kPaneNoteRight), y0, homeNote, false, AtDpi(kPaneNoteRoom, dpi), true});
    t.insert(t.end(), values.begin(), values.end());
    return t;
}

std::vector<unsigned> ContextCommands() {
    std::vector<unsigned> commands = {kCmdDetailsPane};
    for (const ViewpointEntry& v : kViewpoints) commands.push_back(v.command);
    for (const TimeEntry& t : kTimes) commands.push_back(t.command);
    for (const FlagEntry& f : kFlags) commands.push_back(f.command);
    return commands;
}

std::vector<unsigned> CheckedContextCommands(const UserOptions& o) {
    std::vector<unsigned> checked;
    if (o.detailsPaneHidden == 0) checked.push_back(kCmdDetailsPane);
    for (const FlagEntry& f : kFlags) {
        if (o.displayFlags & f.flag) checked.push_back(f.command);
    }
    unsigned viewpoint = kCmdTickingGlobe;  // 5 and every value not listed
    for (const ViewpointEntry& v : kViewpoints) {
        if (v.viewpoint == o.viewpoint) viewpoint = v.command;
    }
    checked.push_back(viewpoint);
    unsigned time = kCmdNoTime;  // every value not listed
    for (const TimeEntry& t : kTimes) {
        if (t.timeDisplay == o.timeDisplay) time = t.command;
    }
    checked.push_back(time);
    return checked;
}

bool ApplyContextCommand(UserOptions& o, unsigned command) {
    if (command == kCmdDetailsPane) {
        o.detailsPaneHidden = o.detailsPaneHidden ? 0 : 1;
        return true;
    }
    for (const ViewpointEntry& v : kViewpoints) {
        if (v.command != command) continue;
        o.viewpoint = v.viewpoint;
        if (command == kCmdSpinningGlobe) o.spinSpeed = 1;
        return true;
    }
    for (const TimeEntry& t : kTimes) {
        if (t.command != command) continue;
        o.timeDisplay = t.timeDisplay;
        return true;
    }
    for (const FlagEntry& f : kFlags) {
        if (f.command != command) continue;
        o.displayFlags ^= f.flag;
        return true;
    }
    return false;
}

ChangeEffects EffectsOfChange(const UserOptions& before, const UserOptions& after) {
    ChangeEffects e;
    e.paneToggled = (before.detailsPaneHidden != 0) != (after.detailsPaneHidden != 0);
    e.viewRedrawn = before.viewpoint != after.viewpoint || before.timeDisplay != after.timeDisplay ||
                    before.displayFlags != after.displayFlags || before.spinSpeed != after.spinSpeed ||
                    before.homeLatitude != after.homeLatitude || before.homeLongitude != after.homeLongitude;
    e.tickWoken = before.viewpoint != after.viewpoint || before.wallpaperEnabled != after.wallpaperEnabled ||
                  before.wallpaperMinutes != after.wallpaperMinutes;
    return e;
}
