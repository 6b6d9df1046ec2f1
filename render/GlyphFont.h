// Text as OpenGL textures: GDI draws a string into a small bitmap that becomes a texture of
// white text whose alpha is its brightness; one texture per character for the time display.
#pragma once

#include "platform/HandleOwners.h"
#include "render/TimeDisplayLayout.h"

#include <windows.h>

#include <GL/gl.h>

#include <vector>

class GlyphRaster {
public:
    GlyphRaster() = default;
    GlyphRaster(const GlyphRaster&) = delete;
    GlyphRaster& operator=(const GlyphRaster&) = delete;

    bool create(int width, int height, const LOGFONTA* font);
    // Renders `text` into the bound texture; returns the text-extent width.
    int renderText(const char* text);
    void release();
    int extentHeight() const { return extentHeight_; }

private:
    int width_ = 0, height_ = 0, extentWidth_ = 0, extentHeight_ = 0;
    RECT rect_ = {};
    // In the order they are made, so that they go in the reverse one.
    MemoryDC memoryDC_;
    GdiBitmap dib_;
    SelectedObject dibSelection_;
    GdiFont font_;
    SelectedObject fontSelection_;
    unsigned char* dibPixels_ = nullptr;
    std::vector<unsigned char> rgba_;
};

class GlyphFont {
public:
    GlyphFont() = default;
    ~GlyphFont() { destroy(); }
    GlyphFont(const GlyphFont&) = delete;
    GlyphFont& operator=(const GlyphFont&) = delete;

    // Builds the glyph textures of the characters 32 to 255 in the current context, from
    // `font` drawn `zoom` times as large as its place (32-pixel cells) for a sharper picture on
    // a screen of high DPI; the metrics are those of the place.
    bool build(const LOGFONTA& font, int zoom = 1);
    // Deletes the glyph textures (in the current context) and the raster.
    void destroy();

    GLuint texture(unsigned char c) const { return textures_[c]; }
    const GlyphMetrics& metrics() const { return metrics_; }
    int zoom() const { return zoom_; }
    float cellSize() const { return 32.0f; }

private:
    GlyphRaster raster_;
    GlyphMetrics metrics_;
    GLuint textures_[256] = {};
    bool ready_ = false;
    int zoom_ = 1;
};

// "Arial" of the given character height (pixels) and weight.
LOGFONTA ArialFont(int height, int weight);
