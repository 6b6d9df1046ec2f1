// A 32-bit DIB section (the format of today's screens, shown there without conversion) with
// its own memory device context: a back buffer for GDI drawing.
#pragma once

#include "platform/HandleOwners.h"

#include <windows.h>

class OffscreenDib {
public:
    OffscreenDib() = default;
    OffscreenDib(const OffscreenDib&) = delete;
    OffscreenDib& operator=(const OffscreenDib&) = delete;

    bool create(int width, int height);
    void destroy();
    HDC dc() const { return dc_.get(); }
    int width() const { return width_; }
    int height() const { return height_; }

private:
    int width_ = 0, height_ = 0;
    // In the order they are made, so that they go in the reverse one.
    MemoryDC dc_;
    GdiBitmap bitmap_;
    SelectedObject selection_;
    void* bits_ = nullptr;
};
