// The texts and layout of the time shown over the globe.
#pragma once

#include <string>

struct AstroState;
struct UserOptions;

struct TimeDisplayText {
    std::string timeLine;
    std::string labelLine;
    bool hasLabel = false;
};

// The highlighted time scale's line and, with the time-zone flag, its label line. Nothing
// (empty time line) when the time display is off.
TimeDisplayText MakeTimeDisplayText(const UserOptions& options, const AstroState& state);

// Text-extent widths and heights of the glyphs of character codes 0..255 (pixels).
struct GlyphMetrics {
    float advance[256] = {};
    float height[256] = {};
};

// Width in overlay units (1.5 x the advances) of the characters that have glyphs (32..255, the
// ANSI code page's printable characters).
float LineWidth(const std::string& text, const GlyphMetrics& glyphs);

// Positions in overlay units: x from -width to +width, y from -height to +height. The text
// grows with the view: `scale` times the size it has in a view up to 361 pixels high.
struct TimeDisplayLayout {
    float timeLeft, timeTop;
    float labelLeft, labelTop;
    float panelLeft, panelTop, panelRight, panelBottom;
    float scale = 1;
};

// How much larger the time display is drawn in a view of this size: 1 up to the default view's
// 570 x 361 pixels, in proportion to the smaller of the two ratios above that, 3 at the most;
// all of it `dpiScale` times as large on a screen of more than 96 DPI (2 at 192).
float TimeDisplayScale(int windowWidth, int windowHeight, float dpiScale = 1);

TimeDisplayLayout LayoutTimeDisplay(const TimeDisplayText& text, const GlyphMetrics& glyphs,
                                    int windowWidth, int windowHeight, float dpiScale = 1);

// Rows of the window, counted from the bottom.
struct PixelRows {
    int first = 0, count = 0;
};

// The rows the time display can touch (its panel and the glyph cells of `cellSize` pixels
// drawn at 1.5 times that size), a row to spare either side; none when it shows nothing.
PixelRows TimeDisplayRows(const TimeDisplayText& text, const TimeDisplayLayout& layout,
                          float cellSize, int windowHeight);

// Whether a character code has a glyph texture.
inline bool HasGlyph(unsigned char c) { return c >= 32; }
