// A memory DC with a w x h 32-bit DIB and an OpenGL context current on it, released with the
// object. (Wine's OpenGL writes 4-byte pixels even into 24-bit DIBs; 32 bits work the same
// everywhere.)
#pragma once

#include <windows.h>

#include <cstdint>

class OffscreenSurface {
public:
    OffscreenSurface() = default;
    ~OffscreenSurface();
    OffscreenSurface(const OffscreenSurface&) = delete;
    OffscreenSurface& operator=(const OffscreenSurface&) = delete;

    // Creates the surface with 32 colour and 32 depth bits and makes its context current.
    bool create(int width, int height);
    // Makes the context current on the calling thread again.
    bool makeCurrent() const { return wglMakeCurrent(dc_, context_) != FALSE; }

    // The memory DC, for GDI drawing over the finished picture.
    HDC dc() const { return dc_; }
    int width() const { return width_; }
    int height() const { return height_; }
    // The DIB's pixels, blue-green-red-x, bottom row first; complete after glFinish and GdiFlush.
    const uint8_t* pixels() const { return pixels_; }

private:
    int width_ = 0, height_ = 0;
    const uint8_t* pixels_ = nullptr;
    HDC dc_ = nullptr;
    HBITMAP dib_ = nullptr, previous_ = nullptr;
    HGLRC context_ = nullptr;
};
