#include "render/OffscreenSurface.h"

#include "platform/GdiSurface.h"

bool OffscreenSurface::create(int width, int height) {
    BITMAPINFOHEADER header = DibHeader(width, height, 32);
    header.biSizeImage = DWORD(width * height * 4);
    header.biXPelsPerMeter = header.biYPelsPerMeter = 2952;
    dc_ = ScreenCompatibleDC();
    void* bits = nullptr;
    dib_ = CreateDIBSection(dc_, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &bits,
                            nullptr, 0);
    if (dib_ == nullptr) return false;
    pixels_ = static_cast<const uint8_t*>(bits);
    width_ = width;
    height_ = height;
    previous_ = static_cast<HBITMAP>(SelectObject(dc_, dib_));
    PIXELFORMATDESCRIPTOR pfd = {sizeof(pfd)};
    pfd.nVersion = 1;
    pfd.dwFlags = PFD_DRAW_TO_BITMAP | PFD_SUPPORT_OPENGL;
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = 32;
    pfd.cRedBits = 8;
    pfd.cGreenBits = 8;
    pfd.cDepthBits = 32;
    const int format = ChoosePixelFormat(dc_, &pfd);
    if (format == 0 || !SetPixelFormat(dc_, format, &pfd)) return false;
    context_ = wglCreateContext(dc_);
    return context_ != nullptr && wglMakeCurrent(dc_, context_);
}

OffscreenSurface::~OffscreenSurface() {
    wglMakeCurrent(nullptr, nullptr);
    if (context_ != nullptr) wglDeleteContext(context_);
    if (dib_ != nullptr) {
        SelectObject(dc_, previous_);
        DeleteObject(dib_);
    }
    if (dc_ != nullptr) DeleteDC(dc_);
}
