// A rendering surface with its OpenGL context: a window through the system's choice of pixel
// format, a window through a software format found by enumeration, or an off-screen DIB that
// is copied to a window after each frame.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>

class GLTarget {
public:
    GLTarget() { reset(); }
    ~GLTarget() { destroyQuietly(); }
    GLTarget(const GLTarget&) = delete;
    GLTarget& operator=(const GLTarget&) = delete;

    void reset();
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
    void destroy();
    void destroyQuietly();

    HGLRC context() const { return context_; }
    // How many contexts made by targets exist now, in the whole process.
    static int liveContexts() { return LiveContexts(); }
    bool hardware() const { return hardware_; }
    bool offscreen() const { return memoryDC_ != nullptr; }
    int width() const { return width_; }
    int height() const { return height_; }
    // Off screen: the DIB's pixels (blue-green-red-x rows, bottom row first, complete after
    // glFinish and GdiFlush) and its memory DC, for GDI drawing over a finished picture.
    const unsigned char* pixels() const { return pixels_; }
    HDC memoryDC() const { return memoryDC_; }

private:
    bool createDib(int width, int height);
    bool adoptContext(HDC dc, int format);
    void deleteContext();
    static std::atomic<int>& LiveContexts();

    int width_, height_, pixelFormat_;
    HGLRC context_;
    HDC memoryDC_, windowDC_;
    HBITMAP dib_, previousBitmap_;
    BITMAPINFOHEADER dibHeader_;
    unsigned char* pixels_;
    bool hardware_;
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
