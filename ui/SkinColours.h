// The colours of the skinned look.
#pragma once

#include <windows.h>

constexpr COLORREF kSkinBody = RGB(83, 84, 105);  // the dialog body below the banner
constexpr COLORREF kSkinBand = RGB(0, 2, 22);     // the banner band, edit fields
constexpr COLORREF kSkinText = RGB(255, 255, 255);

// The brushes of the body and band colours (SharedSkinBrushes makes the program's).
struct SkinBrushes {
    HBRUSH light;  // kSkinBody
    HBRUSH dark;   // kSkinBand
};
