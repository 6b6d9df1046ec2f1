#include "platform/Resources.h"

#include "platform/Dpi.h"

std::string LoadResourceString(UINT id, HINSTANCE module) {
    if (module == nullptr) module = GetModuleHandleA(nullptr);
    char buffer[1024];
    int length = LoadStringA(module, id, buffer, sizeof buffer);
    return std::string(buffer, length > 0 ? length : 0);
}

std::wstring LoadResourceStringWide(UINT id, HINSTANCE module) {
    if (module == nullptr) module = GetModuleHandleW(nullptr);
    wchar_t buffer[1024];
    int length = LoadStringW(module, id, buffer, 1024);
    return std::wstring(buffer, length > 0 ? length : 0);
}

void DrawResourceBitmap(HDC dc, int id, int x, int y, int width, int height) {
    HBITMAP bitmap = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id));
    if (bitmap == nullptr) return;
    BITMAP info = {};
    GetObjectA(bitmap, sizeof info, &info);
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    if (width > 0 && height > 0) {
        SetStretchBltMode(dc, HALFTONE);
        StretchBlt(dc, x, y, width, height, memory, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
    } else {
        BitBlt(dc, x, y, info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
    }
    SelectObject(memory, previous);
    DeleteDC(memory);
    DeleteObject(bitmap);
}

HBITMAP LoadBitmapForDpi(int id, UINT dpi, UINT flags) {
    const HINSTANCE program = GetModuleHandleA(nullptr);
    int percent = ArtPercentFor(dpi);
    const auto load = [&](int resource) {
        return static_cast<HBITMAP>(LoadImageA(program, MAKEINTRESOURCEA(resource), IMAGE_BITMAP, 0, 0, flags));
    };
    HBITMAP bitmap = load(ArtBitmapId(id, dpi));
    // A picture drawn at fewer scales: the larger drawing scaled down, else the one for 96 DPI.
    if (bitmap == nullptr && percent == 150 && (bitmap = load(id + 2000)) != nullptr) percent = 200;
    if (bitmap == nullptr && percent != 100) {
        percent = 100;
        bitmap = load(id);
    }
    if (bitmap == nullptr) return nullptr;
    BITMAP info = {};
    GetObjectA(bitmap, sizeof info, &info);
    const int width = MulDiv(info.bmWidth, int(dpi) * 100, percent * int(kBaseDpi));
    const int height = MulDiv(info.bmHeight, int(dpi) * 100, percent * int(kBaseDpi));
    if (width == info.bmWidth && height == info.bmHeight) return bitmap;
    // Between two scales: the nearer drawing resampled to the exact size.
    HDC screen = GetDC(nullptr);
    HBITMAP sized = CreateCompatibleBitmap(screen, width, height);
    HDC from = CreateCompatibleDC(screen), to = CreateCompatibleDC(screen);
    HGDIOBJ previousFrom = SelectObject(from, bitmap), previousTo = SelectObject(to, sized);
    SetStretchBltMode(to, HALFTONE);
    SetBrushOrgEx(to, 0, 0, nullptr);
    StretchBlt(to, 0, 0, width, height, from, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
    SelectObject(from, previousFrom);
    SelectObject(to, previousTo);
    DeleteDC(from);
    DeleteDC(to);
    ReleaseDC(nullptr, screen);
    DeleteObject(bitmap);
    return sized;
}

DpiBitmap::~DpiBitmap() {
    if (bitmap_ != nullptr) DeleteObject(bitmap_);
}

void DpiBitmap::draw(HDC dc, UINT dpi, int x, int y) {
    if (bitmap_ == nullptr || dpi_ != dpi) {
        if (bitmap_ != nullptr) DeleteObject(bitmap_);
        bitmap_ = LoadBitmapForDpi(id_, dpi);
        dpi_ = dpi;
    }
    if (bitmap_ == nullptr) return;
    BITMAP info = {};
    GetObjectA(bitmap_, sizeof info, &info);
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ previous = SelectObject(memory, bitmap_);
    BitBlt(dc, x, y, info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
    SelectObject(memory, previous);
    DeleteDC(memory);
}

HBITMAP PutBitmapForDpi(HWND picture, int id) {
    HBITMAP bitmap = LoadBitmapForDpi(id, WindowDpi(picture));
    if (bitmap == nullptr) return nullptr;
    const auto loaded = reinterpret_cast<HBITMAP>(
        SendMessageA(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)));
    if (loaded != nullptr && loaded != bitmap) DeleteObject(loaded);  // the one the template loaded
    return bitmap;
}
