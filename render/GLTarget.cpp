#include "render/GLTarget.h"

#include "platform/FailureTrace.h"
#include "platform/GdiSurface.h"

#include <GL/gl.h>

#include <cstdint>
#include <string>

namespace {

PIXELFORMATDESCRIPTOR Descriptor(DWORD flags, int colourBits, int depthBits, int stencilBits,
                                 int accumBits) {
    PIXELFORMATDESCRIPTOR pfd = {sizeof(pfd)};
    pfd.nVersion = 1;
    pfd.dwFlags = flags;
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = BYTE(colourBits);
    pfd.cDepthBits = BYTE(depthBits);
    pfd.cStencilBits = BYTE(stencilBits);
    pfd.cAccumBits = BYTE(accumBits);
    return pfd;
}

bool IsSoftware(const PIXELFORMATDESCRIPTOR& pfd) {
    return (pfd.dwFlags & PFD_GENERIC_FORMAT) && !(pfd.dwFlags & PFD_GENERIC_ACCELERATED);
}

}  // namespace

int FindPixelFormat(HDC dc, const std::function<bool(const PIXELFORMATDESCRIPTOR&)>& accept) {
    // Formats are numbered from 1 to the count, both included.
    const int count = DescribePixelFormat(dc, 1, sizeof(PIXELFORMATDESCRIPTOR), nullptr);
    for (int format = 1; format <= count; ++format) {
        PIXELFORMATDESCRIPTOR pfd = {sizeof(pfd)};
        if (DescribePixelFormat(dc, format, sizeof pfd, &pfd) != 0 && accept(pfd)) return format;
    }
    return 0;
}

bool GLTarget::adoptContext(HDC dc, int format) {
    PIXELFORMATDESCRIPTOR pfd = {sizeof(pfd)};
    DescribePixelFormat(dc, format, sizeof pfd, &pfd);
    if (!SetPixelFormat(dc, format, &pfd)) {
        TraceFailure("SetPixelFormat " + std::to_string(format));
        return false;
    }
    pixelFormat_ = format;
    context_ = GLContext::CreateFor(dc);
    if (!context_) {
        TraceFailure("wglCreateContext");
        return false;
    }
    wglMakeCurrent(dc, context_.get());
    return true;
}

HGLRC GLTarget::createForWindow(HDC windowDC, int colourBits, int depthBits, int stencilBits,
                                int accumBits, int doubleBuffer) {
    if (context_) return context_.get();
    PIXELFORMATDESCRIPTOR pfd =
        Descriptor(PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | (doubleBuffer == 1 ? PFD_DOUBLEBUFFER : 0),
                   colourBits, depthBits, stencilBits, accumBits);
    const int format = ChoosePixelFormat(windowDC, &pfd);
    if (format == 0) {
        TraceFailure("ChoosePixelFormat");
        return nullptr;
    }
    if (!adoptContext(windowDC, format)) return nullptr;
    windowDC_ = windowDC;
    hardware_ = true;
    return context_.get();
}

HGLRC GLTarget::createSoftwareForWindow(HDC windowDC, int colourBits, int depthBits,
                                        int stencilBits, int accumBits, int doubleBuffer) {
    if (context_) return context_.get();
    hardware_ = false;
    const int format = FindPixelFormat(windowDC, [&](const PIXELFORMATDESCRIPTOR& pfd) {
        return pfd.iPixelType == PFD_TYPE_RGBA && pfd.cColorBits >= colourBits &&
               (pfd.dwFlags & PFD_DOUBLEBUFFER) && doubleBuffer == 1 && pfd.cDepthBits >= depthBits &&
               pfd.cStencilBits >= stencilBits && pfd.cAccumBits >= accumBits && IsSoftware(pfd);
    });
    if (format == 0) return nullptr;
    if (adoptContext(windowDC, format)) windowDC_ = windowDC;
    return context_.get();
}

// Makes a DIB of the given size and puts it in the memory DC in place of the current one, which
// goes only then: when the new one cannot be made, the target keeps its bitmap (if any) and size.
bool GLTarget::createDib(int width, int height) {
    if (width == 0) width = 1;
    if (height == 0) height = 1;
    // 32 bits per pixel: wine's OpenGL writes 4-byte pixels even into 24-bit DIBs.
    BITMAPINFOHEADER header = DibHeader(width, height, 32);
    header.biSizeImage = DWORD(int64_t(width) * height * 4);
    header.biXPelsPerMeter = 2952;
    void* bits = nullptr;
    GdiBitmap dib(CreateDIBSection(memoryDC_.get(), reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS,
                                   &bits, nullptr, 0));
    if (!dib) {
        TraceFailure("CreateDIBSection " + std::to_string(width) + "x" + std::to_string(height));
        return false;
    }
    if (dibSelection_) {
        SelectObject(memoryDC_.get(), dib.get());  // the DC's own bitmap still comes back at the end
    } else {
        dibSelection_ = SelectedObject(memoryDC_.get(), dib.get());
    }
    dib_ = std::move(dib);
    dibHeader_ = header;
    pixels_ = static_cast<unsigned char*>(bits);
    width_ = width;
    height_ = height;
    return true;
}

HGLRC GLTarget::createOffscreen(HDC referenceDC, int width, int height, int colourBits,
                                int depthBits, int stencilBits, int accumBits) {
    if (context_) return context_.get();
    memoryDC_ = MemoryDC::CompatibleWith(referenceDC);
    if (!memoryDC_) {
        TraceFailure("CreateCompatibleDC");
        return nullptr;
    }
    PIXELFORMATDESCRIPTOR pfd = Descriptor(PFD_DRAW_TO_BITMAP | PFD_SUPPORT_OPENGL, colourBits,
                                           depthBits, stencilBits, accumBits);
    int format = 0;
    if (createDib(width, height) && (format = ChoosePixelFormat(memoryDC_.get(), &pfd)) != 0 &&
        adoptContext(memoryDC_.get(), format)) {
        hardware_ = false;
        return context_.get();
    }
    destroy();
    return nullptr;
}

bool GLTarget::makeCurrent(HDC newWindowDC) {
    if (newWindowDC != nullptr && windowDC_ != nullptr) windowDC_ = newWindowDC;
    return wglMakeCurrent(windowDC_ != nullptr ? windowDC_ : memoryDC_.get(), context_.get()) != FALSE;
}

bool GLTarget::resize(int width, int height) {
    if (memoryDC_ && (width != width_ || height != height_)) {
        // The old pixels go first, so that no two pictures' bitmaps are held at once; a size
        // that cannot be had leaves a bitmap of the old size (its pixels lost).
        const int oldWidth = width_, oldHeight = height_;
        releaseDib();
        const bool made = createDib(width, height);
        if (!made && !createDib(oldWidth, oldHeight)) {
            width_ = height_ = 0;  // no bitmap: any later size is made anew
            return false;
        }
        PIXELFORMATDESCRIPTOR pfd = {sizeof(pfd)};
        DescribePixelFormat(memoryDC_.get(), pixelFormat_, sizeof pfd, &pfd);
        SetPixelFormat(memoryDC_.get(), pixelFormat_, &pfd);
        if (!makeCurrent(nullptr) || !made) return false;
    }
    width_ = width;
    height_ = height;
    return true;
}

void GLTarget::present(HDC targetDC) {
    if (memoryDC_) {
        presentRows(targetDC, 0, height_);
    } else {
        SwapBuffers(targetDC);
    }
}

void GLTarget::presentRows(HDC targetDC, int firstRow, int rowCount) {
    if (!memoryDC_) return present(targetDC);
    if (rowCount <= 0) return;
    glFinish();
    GdiFlush();
    const int top = height_ - firstRow - rowCount;
    BitBlt(targetDC, 0, top, width_, rowCount, memoryDC_.get(), 0, top, SRCCOPY);
}

void GLTarget::releaseDib() {
    dibSelection_.reset();
    dib_.reset();
    pixels_ = nullptr;
}

void GLTarget::destroy() {
    context_.reset();
    releaseDib();
    memoryDC_.reset();
    windowDC_ = nullptr;
}

bool hasAcceleratedFormat(HDC dc) {
    return FindPixelFormat(dc, [](const PIXELFORMATDESCRIPTOR& pfd) { return !IsSoftware(pfd); }) != 0;
}

bool isCurrentContextAccelerated(bool* driver) {
    if (driver != nullptr) *driver = false;
    HDC dc = wglGetCurrentDC();
    if (wglGetCurrentContext() == nullptr || dc == nullptr) return false;
    PIXELFORMATDESCRIPTOR pfd = {sizeof(pfd)};
    DescribePixelFormat(dc, GetPixelFormat(dc), sizeof pfd, &pfd);
    if (pfd.dwFlags & PFD_GENERIC_FORMAT) return (pfd.dwFlags & PFD_GENERIC_ACCELERATED) != 0;
    if (driver != nullptr) *driver = true;
    return true;
}

int setSoftwareDepth16Format(HDC dc) {
    PIXELFORMATDESCRIPTOR chosen = {sizeof(chosen)};
    const int format = FindPixelFormat(dc, [&](const PIXELFORMATDESCRIPTOR& pfd) {
        chosen = pfd;
        return IsSoftware(pfd) && (pfd.dwFlags & PFD_DOUBLEBUFFER) && pfd.iPixelType == PFD_TYPE_RGBA &&
               pfd.cDepthBits == 16;
    });
    return format != 0 && SetPixelFormat(dc, format, &chosen) ? format : 0;
}
