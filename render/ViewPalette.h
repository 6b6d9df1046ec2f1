// The logical palette of a view whose pixel format is palette-based (PFD_NEED_PALETTE): made
// from the format's colour layout, selected into the window's DC in the foreground and realised.
#pragma once

#include "platform/HandleOwners.h"
#include "render/GLTarget.h"

#include <windows.h>

// After `target`'s pixel format is set: the palette its format needs, selected into `windowDC`
// and realised; null (and nothing selected) when the format needs none.
GdiPalette RealizeFormatPalette(const GLTarget& target, HDC windowDC);

// Puts the default palette back into `windowDC` and deletes `palette`; an empty one is ignored.
void ReleaseFormatPalette(HDC windowDC, GdiPalette& palette);
