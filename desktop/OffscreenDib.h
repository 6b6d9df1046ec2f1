// A 32-bit DIB section (the format of today's screens, shown there without conversion) with
// its own memory device context: a back buffer for GDI drawing.
#pragma once

#include <windows.h>

class OffscreenDib {
public:
    OffscreenDib() = default;
    ~OffscreenDib() { destroy(); }
    OffscreenDib(const OffscreenDib&) = delete;
    OffscreenDib& operator=(const OffscreenDib&) = delete;

    bool create(int width, int height);
    void destroy();
    HDC dc() const { return dc_; }
    int width() const { return width_; }
    int height() const { return height_; }

private:
    int width_ = 0, height_ = 0;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previousBitmap_ = nullptr;
    void* bits_ = nullptr;
};
