#include "render/GlyphFont.h"

#include <algorithm>

#include "platform/GdiSurface.h"

#include <cstdio>
#include <cstring>

bool GlyphRaster::create(int width, int height, const LOGFONTA* font) {
    release();
    BITMAPINFOHEADER header = DibHeader(width, height, 24);
    rect_ = {0, 0, width, height};
    memoryDC_ = MemoryDC::CompatibleWithScreen();
    if (!memoryDC_) return false;
    void* bits = nullptr;
    dib_.reset(CreateDIBSection(memoryDC_.get(), reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS,
                                &bits, nullptr, 0));
    if (!dib_) return false;
    dibPixels_ = static_cast<unsigned char*>(bits);
    dibSelection_ = SelectedObject(memoryDC_.get(), dib_.get());
    if (font != nullptr) {
        font_.reset(CreateFontIndirectA(font));
        fontSelection_ = SelectedObject(memoryDC_.get(), font_.get());
    }
    rgba_.assign(size_t(width) * height * 4, 0);
    SetBkColor(memoryDC_.get(), RGB(0, 0, 0));
    SetTextColor(memoryDC_.get(), RGB(255, 255, 255));
    width_ = width;
    height_ = height;
    return true;
}

int GlyphRaster::renderText(const char* text) {
    const int rowBytes = (width_ * 3 + 3) / 4 * 4;
    std::memset(dibPixels_, 0, size_t(rowBytes) * height_);
    DrawTextA(memoryDC_.get(), text, -1, &rect_, DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    GdiFlush();
    SIZE extent = {};
    GetTextExtentPoint32A(memoryDC_.get(), text, int(std::strlen(text)), &extent);
    extentWidth_ = extent.cx;
    extentHeight_ = extent.cy;
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            const unsigned char v = dibPixels_[y * rowBytes + x * 3];
            std::memset(&rgba_[(size_t(y) * width_ + x) * 4], v, 4);
        }
    }
    glTexImage2D(GL_TEXTURE_2D, 0, 4, width_, height_, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba_.data());
    return extentWidth_;
}

void GlyphRaster::release() {
    rgba_.clear();
    fontSelection_.reset();
    font_.reset();
    dibSelection_.reset();
    dib_.reset();
    memoryDC_.reset();
    width_ = height_ = extentWidth_ = extentHeight_ = 0;
    rect_ = {};
    dibPixels_ = nullptr;
}

bool GlyphFont::build(const LOGFONTA& font, int zoom) {
    ready_ = false;
    zoom_ = std::max(zoom, 1);
    glGenTextures(256, textures_);
    if (!raster_.create(32 * zoom_, 32 * zoom_, &font)) return false;
    for (int c = 32; c <= 255; ++c) {
        glBindTexture(GL_TEXTURE_2D, textures_[c]);
        char text[2];
        std::snprintf(text, sizeof text, "%c", c);
        metrics_.advance[c] = float(raster_.renderText(text)) / float(zoom_);
        metrics_.height[c] = float(raster_.extentHeight()) / float(zoom_);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    }
    ready_ = true;
    return true;
}

void GlyphFont::destroy() {
    if (ready_) glDeleteTextures(256, textures_);
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
