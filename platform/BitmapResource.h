// The pixels of a 24-bit bitmap resource, straight from the loaded module.
#pragma once

#include <windows.h>

// Pixel bytes (bottom-up rows, blue-green-red) of bitmap resource `id` of `module`, which
// follow its 40-byte information header; null when the resource is missing. `width` and
// `height` are set only on success. The bytes belong to the module.
inline const unsigned char* BitmapResourcePixels(HINSTANCE module, int id, int* width, int* height) {
    HBITMAP bitmap = static_cast<HBITMAP>(
        LoadImageA(module, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (bitmap == nullptr) return nullptr;
    BITMAP info = {};
    GetObjectA(bitmap, sizeof info, &info);
    DeleteObject(bitmap);
    HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(2));
    HGLOBAL loaded = resource != nullptr ? LoadResource(module, resource) : nullptr;
    if (loaded == nullptr) return nullptr;
    *width = info.bmWidth;
    *height = info.bmHeight;
    return static_cast<const unsigned char*>(LockResource(loaded)) + sizeof(BITMAPINFOHEADER);
}
