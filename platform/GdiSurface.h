// Small pieces every off-screen GDI surface starts from.
#pragma once

#include <windows.h>

// A bitmap information header: the size, one plane, uncompressed, `bitsPerPixel` bits a pixel.
// A positive height gives bottom-up rows, a negative one top-down rows.
inline BITMAPINFOHEADER DibHeader(int width, int height, int bitsPerPixel) {
    BITMAPINFOHEADER header = {sizeof(header)};
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = WORD(bitsPerPixel);
    header.biCompression = BI_RGB;
    return header;
}
