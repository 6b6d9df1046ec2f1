#include "desktop/OffscreenDib.h"

#include "platform/GdiSurface.h"

bool OffscreenDib::create(int width, int height) {
    destroy();
    BITMAPINFOHEADER header = DibHeader(width, height, 32);
    dc_ = ScreenCompatibleDC();
    if (dc_ == nullptr) return false;
    bitmap_ = CreateDIBSection(dc_, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &bits_,
                               nullptr, 0);
    if (bitmap_ == nullptr) {
        destroy();
        return false;
    }
    previousBitmap_ = SelectObject(dc_, bitmap_);
    width_ = width;
    height_ = height;
    return true;
}

void OffscreenDib::destroy() {
    if (dc_ != nullptr && previousBitmap_ != nullptr) SelectObject(dc_, previousBitmap_);
    if (bitmap_ != nullptr) DeleteObject(bitmap_);
    if (dc_ != nullptr) DeleteDC(dc_);
    dc_ = nullptr;
    bitmap_ = nullptr;
    previousBitmap_ = nullptr;
    bits_ = nullptr;
    width_ = height_ = 0;
}
