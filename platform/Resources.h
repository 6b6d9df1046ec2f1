// Reading the program's own resources.
#pragma once

#include "platform/HandleOwners.h"

#include <windows.h>

#include <string>

// A string-table entry of `module` (the program when null); empty when missing.
std::string LoadResourceString(UINT id, HINSTANCE module = nullptr);

// The same in UTF-16, for the wide calls.
std::wstring LoadResourceStringWide(UINT id, HINSTANCE module = nullptr);

// Draws bitmap resource `id` of the program at (x, y): at its own size, or stretched to
// width x height when they are given. Nothing is drawn when the bitmap is missing.
void DrawResourceBitmap(HDC dc, int id, int x, int y, int width = 0, int height = 0);

// Bitmap resource `id` (art drawn for 96 DPI, with larger drawings beside it) for `dpi`: the
// drawing at the nearest scale (of a picture drawn at 100 and 200 % only, the larger one),
// resampled to the exact size where the DPI lies between the scales. `flags` are LoadImage's.
// Empty when the bitmap is missing.
GdiBitmap LoadBitmapForDpi(int id, UINT dpi, UINT flags = 0);

// Bitmap resource `id` at its size for a window's DPI, for a paint path: loaded at the first
// drawing and again only when the DPI has changed.
class DpiBitmap {
public:
    explicit DpiBitmap(int id) : id_(id) {}

    // Draws it at (x, y) at its size for `dpi`; nothing when the bitmap is missing.
    void draw(HDC dc, UINT dpi, int x, int y);

private:
    int id_;
    UINT dpi_ = 0;  // the DPI bitmap_ was made for
    GdiBitmap bitmap_;
};

// Puts bitmap resource `id` at its window's DPI into static picture control `picture` (in
// place of the one its dialog template loaded, drawn for 96 DPI, or of `shown`, the one put
// there before). `shown` then holds the new bitmap, which the caller keeps until the control is
// gone; a missing bitmap changes nothing.
void PutBitmapForDpi(HWND picture, int id, GdiBitmap& shown);
