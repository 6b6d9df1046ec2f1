#include "render/TimeDisplayLayout.h"

#include "app/Formatting.h"
#include "app/UserOptions.h"
#include "astro/AstroState.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

std::string LocalCivilLine(const UserOptions& options, const AstroState& state) {
    int h = state.localHour;
    std::string suffix = " AM";
    if (options.displayFlags & kLocalTime24Hour) {
        suffix.clear();
    } else {
        if (h >= 12) {
            h -= 12;
            suffix = " PM ";
        }
        if (h == 0) h = 12;
    }
    char line[32];
    std::snprintf(line, sizeof line, "%02d:%02d:%02d", h, state.localMinute, state.localSecond);
    return line + suffix;
}

// The time-zone name as single-byte characters (Latin-1; others become '?').
std::string ZoneName(const UserOptions& options) {
    std::string name;
    for (char16_t c : FieldText(options.timeZoneName)) name.push_back(c < 256 ? char(c) : '?');
    return name;
}

}  // namespace

TimeDisplayText MakeTimeDisplayText(const UserOptions& options, const AstroState& state) {
    TimeDisplayText text;
    char line[32];
    switch (options.timeDisplay) {
    case kTimeNone:
        return text;
    case kTimeUtc:
        std::snprintf(line, sizeof line, "%02d:%02d:%02d", state.utcHour, state.utcMinute,
                      state.utcSecond);
        text.timeLine = line;
        text.labelLine = "Greenwich Mean Time";
        break;
    case kTimeGreenwichSidereal:
        text.timeLine = FormatGreenwichSidereal(state);
        text.labelLine = "Sidereal at Greenwich";
        break;
    case kTimeLocalSidereal:
        text.timeLine = FormatLocalSidereal(state, options);
        text.labelLine = "Local Sidereal Time";
        break;
    case kTimeJulianDay:
        std::snprintf(line, sizeof line, "%.5f", state.julianDate);
        text.timeLine = line;
        text.labelLine = "     Julian Day     ";
        break;
    default:
        text.timeLine = LocalCivilLine(options, state);
        text.labelLine = ZoneName(options);
        break;
    }
    text.hasLabel = (options.displayFlags & kShowTimeZone) != 0;
    if (!text.hasLabel) text.labelLine.clear();
    return text;
}

float LineWidth(const std::string& text, const GlyphMetrics& glyphs) {
    float sum = 0;
    for (unsigned char c : text) {
        if (HasGlyph(c)) sum += glyphs.advance[c];
    }
    return 1.5f * sum;
}

float TimeDisplayScale(int windowWidth, int windowHeight, float dpiScale) {
    const float s = std::max(dpiScale, 1.0f);
    return s * std::clamp(std::min(float(windowWidth) / (570.0f * s), float(windowHeight) / (361.0f * s)), 1.0f, 3.0f);
}

TimeDisplayLayout LayoutTimeDisplay(const TimeDisplayText& text, const GlyphMetrics& glyphs,
                                    int windowWidth, int windowHeight, float dpiScale) {
    TimeDisplayLayout layout;
    const float k = layout.scale = TimeDisplayScale(windowWidth, windowHeight, dpiScale);
    const float lineHeight = 1.5f * k * glyphs.height[static_cast<unsigned char>('9')];
    const float top = float(-(windowHeight / 2));
    const float width = k * LineWidth(text.timeLine, glyphs);
    layout.timeLeft = -width / 2;
    layout.timeTop = top;
    layout.panelTop = top;
    layout.panelLeft = -width / 2;
    layout.panelRight = width / 2;
    layout.panelBottom = top - lineHeight;
    layout.labelLeft = layout.labelTop = 0;
    if (text.hasLabel) {
        const float labelWidth = k * LineWidth(text.labelLine, glyphs);
        layout.labelTop = top - std::trunc(1.5f * k * glyphs.height[static_cast<unsigned char>('A')]);
        layout.labelLeft = -labelWidth / 2;
        layout.panelLeft = -labelWidth / 2;
        layout.panelRight = labelWidth / 2;
        layout.panelBottom = layout.labelTop - lineHeight;
    }
    return layout;
}

PixelRows TimeDisplayRows(const TimeDisplayText& text, const TimeDisplayLayout& layout,
                          float cellSize, int windowHeight) {
    if (text.timeLine.empty()) return {};
    const float cell = 1.5f * layout.scale * cellSize;
    float lowest = std::min(layout.panelBottom, layout.timeTop - cell);
    if (text.hasLabel) lowest = std::min(lowest, layout.labelTop - cell);
    const float highest = std::max(layout.panelTop, layout.timeTop);
    // Overlay units run from -height to +height: two to a pixel.
    const int first = std::max(0, int(std::floor((lowest + windowHeight) / 2)) - 1);
    const int last = std::min(windowHeight - 1, int(std::ceil((highest + windowHeight) / 2)) + 1);
    return last < first ? PixelRows{} : PixelRows{first, last - first + 1};
}
