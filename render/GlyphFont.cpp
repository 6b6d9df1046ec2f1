#include "render/GlyphFont.h"

#include <algorithm>

#include "platform/GdiSurface.h"

#include <cstdio>
#include <cstring>

void GlyphRaster::reset() {
    width_ = height_ = extentWidth_ = extentHeight_ = 0;
    rect_ = {};
    memoryDC_ = nullptr;
    dib_ = previousBitmap_ = nullptr;
    font_ = previousFont_ = nullptr;
    dibPixels_ = nullptr;
}

bool GlyphRaster::create(int width, int height, const LOGFONTA* font) {
    BITMAPINFOHEADER header = DibHeader(width, height, 24);
    rect_ = {0, 0, width, height};
    memoryDC_ = ScreenCompatibleDC();
    if (memoryDC_ == nullptr) return false;
    void* bits = nullptr;
    dib_ = CreateDIBSection(memoryDC_, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS,
                            &bits, nullptr, 0);
    if (dib_ == nullptr) return false;
    dibPixels_ = static_cast<unsigned char*>(bits);
    previousBitmap_ = static_cast<HBITMAP>(SelectObject(memoryDC_, dib_));
    if (font != nullptr) {
        font_ = CreateFontIndirectA(font);
        previousFont_ = static_cast<HFONT>(SelectObject(memoryDC_, font_));
    }
    rgba_.assign(size_t(width) * height * 4, 0);
    SetBkColor(memoryDC_, RGB(0, 0, 0));
    SetTextColor(memoryDC_, RGB(255, 255, 255));
    width_ = width;
    height_ = height;
    return true;
}

int GlyphRaster::renderTextAt(const char* text, int x, int y) {
    const int rowBytes = (width_ * 3 + 3) / 4 * 4;
    std::memset(dibPixels_, 0, size_t(rowBytes) * height_);
    DrawTextA(memoryDC_, text, -1, &rect_, DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    GdiFlush();
    SIZE extent = {};
    GetTextExtentPoint32A(memoryDC_, text, int(std::strlen(text)), &extent);
    extentWidth_ = extent.cx;
    extentHeight_ = extent.cy;
    for (int row = 0; row < height_; ++row) {
        for (int column = 0; column < width_; ++column) {
            const unsigned char v = dibPixels_[row * rowBytes + column * 3];
            std::memset(&rgba_[(size_t(row) * width_ + column) * 4], v, 4);
        }
    }
    glTexSubImage2D(GL_TEXTURE_2D, 0, x, y, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, rgba_.data());
    return extentWidth_;
}

void GlyphRaster::release() {
    rgba_.clear();
    if (memoryDC_ != nullptr) {
        if (font_ != nullptr) {
            SelectObject(memoryDC_, previousFont_);
            DeleteObject(font_);
        }
        if (dib_ != nullptr) SelectObject(memoryDC_, previousBitmap_);
        DeleteDC(memoryDC_);
    }
    if (dib_ != nullptr) DeleteObject(dib_);
    reset();
}

namespace {

// The glyph texture's cells, two empty texels apart, so that a glyph's edge filters against
// transparent black as at the edge of a texture of its own; rows no wider than the 1024 texels
// every OpenGL of Windows takes.
constexpr int kFirstGlyph = 32, kLastGlyph = 255, kGutter = 2, kWidestTexture = 1024;

int PowerOfTwoAtLeast(int n) {
    int p = 1;
    while (p < n) p *= 2;
    return p;
}

}  // namespace

bool GlyphFont::build(const LOGFONTA& font, int zoom) {
    ready_ = false;
    zoom_ = std::max(zoom, 1);
    cellPixels_ = 32 * zoom_;
    const int pitch = cellPixels_ + kGutter, perRow = std::max(1, (kWidestTexture - kGutter) / pitch);
    const int rows = (kLastGlyph - kFirstGlyph) / perRow + 1;
    textureWidth_ = PowerOfTwoAtLeast(kGutter + perRow * pitch);
    textureHeight_ = PowerOfTwoAtLeast(kGutter + rows * pitch);
    glGenTextures(1, &texture_);
    glBindTexture(GL_TEXTURE_2D, texture_);
    const std::vector<unsigned char> clear(size_t(textureWidth_) * textureHeight_ * 4, 0);
    glTexImage2D(GL_TEXTURE_2D, 0, 4, textureWidth_, textureHeight_, 0, GL_RGBA, GL_UNSIGNED_BYTE, clear.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    ready_ = true;  // the texture is made: destroy() deletes it whatever follows
    if (!raster_.create(cellPixels_, cellPixels_, &font)) return false;
    for (int c = kFirstGlyph; c <= kLastGlyph; ++c) {
        char text[2];
        std::snprintf(text, sizeof text, "%c", c);
        const int index = c - kFirstGlyph;
        const int x = kGutter + index % perRow * pitch, y = kGutter + index / perRow * pitch;
        metrics_.advance[c] = float(raster_.renderTextAt(text, x, y)) / float(zoom_);
        metrics_.height[c] = float(raster_.extentHeight()) / float(zoom_);
        cells_[c] = {float(x) / float(textureWidth_), float(x + cellPixels_) / float(textureWidth_),
                     float(y) / float(textureHeight_), float(y + cellPixels_) / float(textureHeight_)};
    }
    return true;
}

GlyphFont::Cell GlyphFont::cell(unsigned char c) const { return cells_[c]; }

void GlyphFont::destroy() {
    if (ready_) glDeleteTextures(1, &texture_);
    texture_ = 0;
    ready_ = false;
    raster_.release();
}

LOGFONTA ArialFont(int height, int weight) {
    LOGFONTA font = {};
    font.lfHeight = -height;
    font.lfWeight = weight;
    font.lfCharSet = DEFAULT_CHARSET;
    std::strcpy(font.lfFaceName, "Arial");
    return font;
}
