// Dots per inch: the programs are Per-Monitor DPI aware, so every window lays out for the DPI
// of the monitor it is on (96 is 100 %), and pictures come at the nearest of the art's scales.
#pragma once

#include <windows.h>

constexpr UINT kBaseDpi = 96;

// Windows 10 1607 on tells a child once its parent has been laid out for a new DPI.
constexpr UINT kDpiChangedAfterParent = 0x02E3;  // WM_DPICHANGED_AFTERPARENT

// The DPI `window` is shown at (the monitor's, where the system tells it: Windows 10 1607 on),
// else the screen's.
UINT WindowDpi(HWND window);

// The DPI of the monitor that holds `point` (screen coordinates), for a window about to be
// made there.
UINT DpiAtPoint(POINT point);
// A window `width` x `height` at 96 DPI, at the DPI of the primary display's centre and centred
// there; on a screen too small for it, its top and left side stay in the work area.
RECT CentredOnPrimaryDisplay(int width, int height);

// A length of `pixels` at 96 DPI, at `dpi`.
inline int ScaledToDpi(int pixels, UINT dpi) { return MulDiv(pixels, int(dpi), int(kBaseDpi)); }

// The system metric `index` (SM_CXSMICON...) at `dpi`.
int SystemMetricForDpi(int index, UINT dpi);

// What `window`'s borders, caption and menu bar (on one row) add to its client at `dpi`, for
// its styles now.
SIZE FrameAroundClient(HWND window, UINT dpi);

// The art is drawn at 100 %, 150 % and 200 %: the scale nearest `dpi`, in percent, and the
// resource id of bitmap `id` at it (id, id + 1000, id + 2000).
int ArtPercentFor(UINT dpi);
int ArtBitmapId(int id, UINT dpi);
