// The pixels of a 24-bit bitmap resource, straight from the loaded module.
#pragma once

#include <windows.h>

// Pixel bytes (bottom-up rows, blue-green-red, no row padding) of bitmap resource `id` of
// `module`, which follow its information header; null when the resource is missing, is not
// an uncompressed 24-bit bottom-up bitmap, has padded rows or is shorter than its header says.
// `width` and `height` are set only on success. The bytes belong to the module.
// The header is read in place: decoding the bitmap through GDI would copy every pixel.
inline const unsigned char* BitmapResourcePixels(HINSTANCE module, int id, int* width, int* height) {
    HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(2));
    HGLOBAL loaded = resource != nullptr ? LoadResource(module, resource) : nullptr;
    const auto* bytes = static_cast<const unsigned char*>(loaded != nullptr ? LockResource(loaded) : nullptr);
    const DWORD size = resource != nullptr ? SizeofResource(module, resource) : 0;
    if (bytes == nullptr || size < sizeof(BITMAPINFOHEADER)) return nullptr;
    BITMAPINFOHEADER header;
    CopyMemory(&header, bytes, sizeof header);
    if (header.biSize < sizeof header || header.biBitCount != 24 || header.biCompression != BI_RGB ||
        header.biWidth <= 0 || header.biWidth > 32768 || header.biHeight <= 0 ||
        header.biHeight > 32768 || header.biWidth % 4 != 0) {
        return nullptr;
    }
    const unsigned long long pixelBytes = 3ull * header.biWidth * header.biHeight;
    if (header.biSize > size || size - header.biSize < pixelBytes) return nullptr;
    *width = header.biWidth;
    *height = header.biHeight;
    return bytes + header.biSize;
}
