#include "platform/Resources.h"

#include "platform/FailureTrace.h"
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
    const GdiBitmap bitmap(LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id)));
    if (!bitmap) {
        TraceFailure("LoadBitmap " + std::to_string(id));
        return;
    }
    BITMAP info = {};
    GetObjectA(bitmap.get(), sizeof info, &info);
    const MemoryDC memory = MemoryDC::CompatibleWith(dc);
    const SelectedObject selection(memory.get(), bitmap.get());
    if (width > 0 && height > 0) {
        SetStretchBltMode(dc, HALFTONE);
        StretchBlt(dc, x, y, width, height, memory.get(), 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
    } else {
        BitBlt(dc, x, y, info.bmWidth, info.bmHeight, memory.get(), 0, 0, SRCCOPY);
    }
}

GdiBitmap LoadBitmapForDpi(int id, UINT dpi, UINT flags) {
    const HINSTANCE program = GetModuleHandleA(nullptr);
    int percent = ArtPercentFor(dpi);
    const auto load = [&](int resource) {
        return GdiBitmap(static_cast<HBITMAP>(LoadImageA(program, MAKEINTRESOURCEA(resource), IMAGE_BITMAP, 0, 0, flags)));
    };
    GdiBitmap bitmap = load(ArtBitmapId(id, dpi));
    // A picture drawn at fewer scales: the larger drawing scaled down, else the one for 96 DPI.
    if (!bitmap && percent == 150 && (bitmap = load(id + 2000))) percent = 200;
    if (!bitmap && percent != 100) {
        percent = 100;
        bitmap = load(id);
    }
    if (!bitmap) {
        TraceFailure("LoadImage " + std::to_string(id));
        return bitmap;
    }
    BITMAP info = {};
    GetObjectA(bitmap.get(), sizeof info, &info);
    const int width = MulDiv(info.bmWidth, int(dpi) * 100, percent * int(kBaseDpi));
    const int height = MulDiv(info.bmHeight, int(dpi) * 100, percent * int(kBaseDpi));
    if (width == info.bmWidth && height == info.bmHeight) return bitmap;
    // Between two scales: the nearer drawing resampled to the exact size.
    const WindowDC screen(nullptr);
    GdiBitmap sized(CreateCompatibleBitmap(screen.get(), width, height));
    const MemoryDC from = MemoryDC::CompatibleWith(screen.get()), to = MemoryDC::CompatibleWith(screen.get());
    {
        const SelectedObject fromSelection(from.get(), bitmap.get()), toSelection(to.get(), sized.get());
        SetStretchBltMode(to.get(), HALFTONE);
        SetBrushOrgEx(to.get(), 0, 0, nullptr);
        StretchBlt(to.get(), 0, 0, width, height, from.get(), 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
    }
    return sized;
}

void DpiBitmap::draw(HDC dc, UINT dpi, int x, int y) {
    if (!bitmap_ || dpi_ != dpi) {
        bitmap_.reset();  // the old one goes before the new one is made
        bitmap_ = LoadBitmapForDpi(id_, dpi);
        dpi_ = dpi;
    }
    if (!bitmap_) return;
    BITMAP info = {};
    GetObjectA(bitmap_.get(), sizeof info, &info);
    const MemoryDC memory = MemoryDC::CompatibleWith(dc);
    const SelectedObject selection(memory.get(), bitmap_.get());
    BitBlt(dc, x, y, info.bmWidth, info.bmHeight, memory.get(), 0, 0, SRCCOPY);
}

void PutBitmapForDpi(HWND picture, int id, GdiBitmap& shown) {
    GdiBitmap bitmap = LoadBitmapForDpi(id, WindowDpi(picture));
    if (!bitmap) return;
    const auto previous = reinterpret_cast<HBITMAP>(
        SendMessageA(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap.get())));
    // The one the template loaded comes back the first time, ours to delete; later `shown`
    // comes back, which the move below deletes once.
    if (previous != nullptr && previous != shown.get()) DeleteObject(previous);
    shown = std::move(bitmap);
}
