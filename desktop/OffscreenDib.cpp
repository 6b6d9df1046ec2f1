#include "desktop/OffscreenDib.h"

#include "platform/FailureTrace.h"
#include "platform/GdiSurface.h"

bool OffscreenDib::create(int width, int height) {
    destroy();
    BITMAPINFOHEADER header = DibHeader(width, height, 32);
    dc_ = MemoryDC::CompatibleWithScreen();
    if (!dc_) {
        TraceFailure("CreateCompatibleDC");
        return false;
    }
    bitmap_.reset(CreateDIBSection(dc_.get(), reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &bits_,
                                   nullptr, 0));
    if (!bitmap_) {
        TraceFailure("CreateDIBSection " + std::to_string(width) + "x" + std::to_string(height));
        destroy();
        return false;
    }
    selection_ = SelectedObject(dc_.get(), bitmap_.get());
    width_ = width;
    height_ = height;
    return true;
}

void OffscreenDib::destroy() {
    selection_.reset();
    bitmap_.reset();
    dc_.reset();
    bits_ = nullptr;
    width_ = height_ = 0;
}
