// The earth clock window's rules that need no window: where its children go, when its
// rectangle is remembered, the details pane's texts, and the context menu's options.
#pragma once

#include <string>
#include <vector>

struct AstroState;
struct HomeZoneDay;
struct UserOptions;

// Lengths here are given at 96 DPI and scaled for the window's DPI.
constexpr int kDataPaneHeight = 159;

// A length of `pixels` at 96 DPI, at `dpi`.
inline int AtDpi(int pixels, int dpi) { return (pixels * dpi + 48) / 96; }

struct Box {
    int x, y, width, height;
};

struct ChildLayout {
    Box view;
    Box pane;
    bool paneShown;
};

// The Earth view above the 159-pixel details pane, or alone when the pane is hidden.
ChildLayout LayoutChildren(int clientWidth, int clientHeight, bool paneHidden, int dpi = 96);

// Whether a size message stores the window rectangle: not in full screen, minimised or
// maximised.
bool StoresRectOnSize(bool fullScreen, bool minimised, bool maximised);

// Whether a move stores the new rectangle: not in full screen, same width as the window's last
// normal rectangle `shown` (the stored one, or where the window was placed instead) and both
// heights non-zero (a minimised window has another width).
bool StoresRectOnMove(bool fullScreen, const Box& shown, int left, int top, int right, int bottom);

// The smallest window that still shows the globe and the whole details pane (its 550-pixel
// block and the window's borders), and the smallest client of the globe alone.
constexpr int kMinimumFrameWidth = 580, kMinimumFrameHeight = 420;
constexpr int kMinimumGlobeWidth = 200, kMinimumGlobeHeight = 150;

struct Extent {
    int width, height;
};

// The smallest window at `dpi`: one whose client holds the smallest globe, inside `frame` (what
// the borders, the caption and the menu bar add to the client), and while the details pane
// shows, one that shows the pane as well.
Extent MinimumFrameSize(bool paneShown, const Extent& frame, int dpi = 96);

// Where the window opens for a stored rectangle (left, top, right, bottom, as kept in the
// options file, possibly damaged or from a monitor since removed): on `workArea` (the nearest
// monitor's) with at least `minimum` and at most the work area's size, moved inside it.
Box PlaceFrame(int left, int top, int right, int bottom, const Box& workArea, const Extent& minimum);

// One text of the details pane at (x, y) in the pane's client area.
struct PaneText {
    int x, y;
    std::string text;
    bool label;              // label colour; values are white
    int width = 0;           // when not 0, the most it takes: cut short with an ellipsis beyond
    bool rightAligned = false;  // x is where it ends
};

// Left edge of the pane's 550-pixel block (negative below a width of 550: clipped, not moved).
inline int PaneBlockLeft(int clientWidth, int dpi = 96) { return clientWidth / 2 - AtDpi(275, dpi); }

// The labels and values of the details pane for a font of character height `charHeight`; with
// `homeZone`, the home's local time and events are those of its own zone, named after the place.
// `homeNote` (a solar eclipse seen at home) ends the top row, the place giving way to it.
std::vector<PaneText> DataPaneTexts(const UserOptions& options, const AstroState& state,
                                    int clientWidth, int charHeight, int dpi = 96,
                                    const HomeZoneDay* homeZone = nullptr, const std::string& homeNote = {});

// Context-menu commands.
enum ContextCommand : unsigned {
    kCmdDetailsPane = 32783,
    kCmdFromSun = 40074, kCmdFromMoon = 40075, kCmdOverHome = 40076, kCmdOverSunrise = 40077,
    kCmdOverSunset = 40078, kCmdMouseDrag = 40080, kCmdTickingGlobe = 40088,
    kCmdSpinningGlobe = 40079,
    kCmdLocalTime = 40081, kCmdUtc = 40082, kCmdGreenwichSidereal = 40083,
    kCmdLocalSidereal = 40084, kCmdJulianDay = 40085, kCmdNoTime = 40086,
    kCmdNightShadow = 40064, kCmdUrbanLighting = 40065, kCmdRealisticTerminator = 40066,
    kCmdSimulatedClouds = 40067, kCmdShowSun = 40068, kCmdShowMoon = 40069,
    kCmd24Hour = 40070, kCmdTimeZone = 40071, kCmdGrid = 40072, kCmdHighlightHome = 40073,
};

// Every context-menu command.
std::vector<unsigned> ContextCommands();

// The entries that carry a check mark for these options.
std::vector<unsigned> CheckedContextCommands(const UserOptions& options);

// Applies a context-menu command to the options; false for an unknown command.
bool ApplyContextCommand(UserOptions& options, unsigned command);

// What a change of the options asks of the earth clock window and the clock tick.
struct ChangeEffects {
    bool paneToggled;  // the details pane shown or hidden
    bool viewRedrawn;  // something the globe or the time over it shows
    bool tickWoken;    // something the tick decides by: the viewpoint, the wallpaper's schedule
};
ChangeEffects EffectsOfChange(const UserOptions& before, const UserOptions& after);
