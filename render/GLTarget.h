// A rendering surface with its OpenGL context: a window through the system's choice of pixel
// format, a window through a software format found by enumeration, or an off-screen DIB that
// is copied to a window after each frame.
#pragma once

#include "platform/HandleOwners.h"

#include <windows.h>

#include <functional>

class GLTarget {
public:
    GLTarget() = default;
    GLTarget(const GLTarget&) = delete;
    GLTarget& operator=(const GLTarget&) = delete;

    HGLRC createForWindow(HDC windowDC, int colourBits, int depthBits, int stencilBits,
                          int accumBits, int doubleBuffer);
    HGLRC createSoftwareForWindow(HDC windowDC, int colourBits, int depthBits, int stencilBits,
                                  int accumBits, int doubleBuffer);
    HGLRC createOffscreen(HDC referenceDC, int width, int height, int colourBits, int depthBits,
                          int stencilBits, int accumBits);
    bool makeCurrent(HDC newWindowDC);
    bool resize(int width, int height);
    void present(HDC targetDC);
    // Shows only `rowCount` rows from OpenGL's row `firstRow` (counted from the bottom) where
    // the frame is drawn off screen; the whole frame otherwise.
    void presentRows(HDC targetDC, int firstRow, int rowCount);
    void releaseDib();
    // Gives up the context and the off-screen surface (the target can be made again).
    void destroy();

    HGLRC context() const { return context_.get(); }
    // How many contexts made by targets exist now, in the whole process.
    static int liveContexts() { return LiveGLContexts(); }
    bool hardware() const { return hardware_; }
    bool offscreen() const { return bool(memoryDC_); }
    int width() const { return width_; }
    int height() const { return height_; }
    // Off screen: the DIB's pixels (blue-green-red-x rows, bottom row first, complete after
    // glFinish and GdiFlush) and its memory DC, for GDI drawing over a finished picture.
    const unsigned char* pixels() const { return pixels_; }
    HDC memoryDC() const { return memoryDC_.get(); }

private:
    bool createDib(int width, int height);
    bool adoptContext(HDC dc, int format);

    int width_ = 0, height_ = 0, pixelFormat_ = 0;
    // Declared in the order they are made: the context goes first, then the DIB leaves the
    // memory DC and is deleted, then the memory DC.
    MemoryDC memoryDC_;
    GdiBitmap dib_;
    SelectedObject dibSelection_;
    GLContext context_;
    HDC windowDC_ = nullptr;  // the window's, which the view owns
    BITMAPINFOHEADER dibHeader_ = {};
    unsigned char* pixels_ = nullptr;
    bool hardware_ = false;
};

// The first of the display's pixel formats that `accept` takes, or 0 when none.
int FindPixelFormat(HDC dc, const std::function<bool(const PIXELFORMATDESCRIPTOR&)>& accept);

// True when one of the display's pixel formats is accelerated.
bool hasAcceleratedFormat(HDC dc);

// Whether the current context is accelerated; `driver` (optional) says whether it comes from a
// driver of its own rather than the generic implementation. False without a current context.
bool isCurrentContextAccelerated(bool* driver = nullptr);

// Sets the first generic, unaccelerated, double-buffered RGBA format with a 16-bit depth buffer;
// returns its index, or 0 when none qualifies.
int setSoftwareDepth16Format(HDC dc);
