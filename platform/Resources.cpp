#include "platform/Resources.h"

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
