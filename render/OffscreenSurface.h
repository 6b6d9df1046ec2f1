// A memory DC with a w x h 32-bit DIB and an OpenGL context current on it, released with the
// object. (Wine's OpenGL writes 4-byte pixels even into 24-bit DIBs; 32 bits work the same
// everywhere.)
#pragma once

#include <windows.h>

class OffscreenSurface {
public:
    OffscreenSurface() = default;
    ~OffscreenSurface();
    OffscreenSurface(const OffscreenSurface&) = delete;
    OffscreenSurface& operator=(const OffscreenSurface&) = delete;

    // Creates the surface with 32 colour and 32 depth bits and makes its context current.
    bool create(int width, int height);

private:
    HDC dc_ = nullptr;
    HBITMAP dib_ = nullptr, previous_ = nullptr;
    HGLRC context_ = nullptr;
};
