// One line of text set with stb_truetype for the host art tools: a font file in memory, the
// line's width (advances, kerning, extra tracking) and its glyphs' coverage handed to a plot
// function. The tool that includes this defines STB_TRUETYPE_IMPLEMENTATION once.
#pragma once

#include <stb/stb_truetype.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

struct Font {
    std::vector<unsigned char> data;
    stbtt_fontinfo info{};
    bool load(const char* path) {
        std::ifstream file(path, std::ios::binary);
        data.assign(std::istreambuf_iterator<char>(file), {});
        return !data.empty() && stbtt_InitFont(&info, data.data(), 0) != 0;
    }
    // Pixels per font unit for a line of `pixelHeight` (ascent to descent).
    float scale(float pixelHeight) const { return stbtt_ScaleForPixelHeight(&info, pixelHeight); }
    // Height of the capitals above the baseline, in pixels at `scale`.
    float capHeight(float scale) const {
        int x0, y0, x1, y1;
        stbtt_GetCodepointBox(&info, 'H', &x0, &y0, &x1, &y1);
        return y1 * scale;
    }
};

inline float TextWidth(const Font& font, const std::string& text, float scale, float tracking = 0) {
    float width = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        int advance, bearing;
        stbtt_GetCodepointHMetrics(&font.info, text[i], &advance, &bearing);
        width += advance * scale + tracking;
        if (i + 1 < text.size()) {
            width += stbtt_GetCodepointKernAdvance(&font.info, text[i], text[i + 1]) * scale;
        }
    }
    return width - tracking;
}

// Sets `text` from pen position `left` on `baseline`, calling plot(x, y, coverage 0..1) for
// every glyph pixel. With `subpixel` each glyph is rendered at its exact pen position (sharper
// spacing at small sizes); without it each glyph starts at the whole pixel left of the pen.
template <typename Plot>
void DrawTextLine(const Font& font, const std::string& text, float scale, float left, int baseline,
                  Plot plot, float tracking = 0, bool subpixel = true) {
    float x = left;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const float whole = subpixel ? std::floor(x) : float(int(x));
        const float shift = subpixel ? x - whole : 0.0f;
        int w, h, glyphLeft, glyphTop;
        unsigned char* glyph = stbtt_GetCodepointBitmapSubpixel(
            &font.info, scale, scale, shift, 0, text[i], &w, &h, &glyphLeft, &glyphTop);
        for (int gy = 0; gy < h; ++gy) {
            for (int gx = 0; gx < w; ++gx) {
                plot(int(whole) + glyphLeft + gx, baseline + glyphTop + gy, glyph[gy * w + gx] / 255.0f);
            }
        }
        stbtt_FreeBitmap(glyph, nullptr);
        int advance, bearing;
        stbtt_GetCodepointHMetrics(&font.info, text[i], &advance, &bearing);
        x += advance * scale + tracking;
        if (i + 1 < text.size()) {
            x += stbtt_GetCodepointKernAdvance(&font.info, text[i], text[i + 1]) * scale;
        }
    }
}
