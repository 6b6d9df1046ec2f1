// Text as OpenGL textures: GDI draws a string into a small bitmap that becomes a texture of
// white text whose alpha is its brightness; for the time display every character in a cell of
// one texture, so that a line of text is one draw.
#pragma once

#include "render/TimeDisplayLayout.h"

#include <windows.h>

#include <GL/gl.h>

#include <vector>

class GlyphRaster {
public:
    GlyphRaster() { reset(); }
    ~GlyphRaster() { release(); }
    GlyphRaster(const GlyphRaster&) = delete;
    GlyphRaster& operator=(const GlyphRaster&) = delete;

    void reset();
    bool create(int width, int height, const LOGFONTA* font);
    // Renders `text` into the bound texture's part at (x, y) (a texture made large enough
    // before); returns the text-extent width.
    int renderTextAt(const char* text, int x, int y);
    void release();
    int extentHeight() const { return extentHeight_; }

private:
    int width_, height_, extentWidth_, extentHeight_;
    RECT rect_;
    HDC memoryDC_;
    HBITMAP dib_, previousBitmap_;
    HFONT font_, previousFont_;
    unsigned char* dibPixels_;
    std::vector<unsigned char> rgba_;
};

class GlyphFont {
public:
    GlyphFont() = default;
    ~GlyphFont() { destroy(); }
    GlyphFont(const GlyphFont&) = delete;
    GlyphFont& operator=(const GlyphFont&) = delete;

    // Builds the glyph texture of the characters 32 to 255 in the current context, from `font`
    // drawn `zoom` times as large as its place (32-pixel cells) for a sharper picture on a
    // screen of high DPI; the metrics are those of the place.
    bool build(const LOGFONTA& font, int zoom = 1);
    // Deletes the glyph texture (in the current context) and the raster.
    void destroy();

    // The texture holding every glyph, and where character `c` lies in it (texture coordinates
    // of its cell's left, right, bottom and top).
    GLuint texture() const { return texture_; }
    struct Cell {
        float left, right, bottom, top;
    };
    Cell cell(unsigned char c) const;
    const GlyphMetrics& metrics() const { return metrics_; }
    int zoom() const { return zoom_; }
    float cellSize() const { return 32.0f; }

private:
    GlyphRaster raster_;
    GlyphMetrics metrics_;
    GLuint texture_ = 0;
    int cellPixels_ = 32, textureWidth_ = 0, textureHeight_ = 0;
    Cell cells_[256] = {};
    bool ready_ = false;
    int zoom_ = 1;
};

// "Arial" of the given character height (pixels) and weight.
LOGFONTA ArialFont(int height, int weight);
