#include "ui/RoundedGroupBox.h"

#include "platform/Dpi.h"
#include "platform/HandleOwners.h"
#include "ui/SkinColours.h"
#include "ui/SkinGeometry.h"

#include <commctrl.h>

#include <string>

namespace {

constexpr UINT_PTR kSubclassId = 0x5247;  // "RG"
constexpr COLORREF kOuterLine = RGB(153, 153, 153);

unsigned EdgesOf(HWND window) {
    const LONG_PTR exStyle = GetWindowLongPtrA(window, GWL_EXSTYLE);
    return ((exStyle & WS_EX_DLGMODALFRAME) ? unsigned(kEdgeModalFrame) : 0u) |
           ((exStyle & WS_EX_CLIENTEDGE) ? unsigned(kEdgeClient) : 0u) |
           ((exStyle & WS_EX_STATICEDGE) ? unsigned(kEdgeStatic) : 0u);
}

CaptionAlignment AlignmentOf(LONG_PTR style) {
    switch (style & (BS_LEFT | BS_RIGHT | BS_CENTER)) {
    case BS_RIGHT:
        return CaptionAlignment::Right;
    case BS_CENTER:
        return CaptionAlignment::Centre;
    }
    return CaptionAlignment::Left;
}

void DrawOutline(HDC dc, const SkinRect& r, int grow, int corner, COLORREF colour) {
    const GdiPen pen(CreatePen(PS_SOLID, 1, colour));
    const SelectedObject penSelection(dc, pen.get());
    const SelectedObject brushSelection(dc, GetStockObject(NULL_BRUSH));
    RoundRect(dc, r.left - grow, r.top - grow, r.right + grow, r.bottom + grow, corner, corner);
}

}  // namespace

RoundedGroupBox::~RoundedGroupBox() {
    if (hwnd_ != nullptr && IsWindow(hwnd_)) RemoveWindowSubclass(hwnd_, subclassProcedure, kSubclassId);
}

bool RoundedGroupBox::attach(HWND groupBox) {
    if (groupBox == nullptr) return false;
    hwnd_ = groupBox;
    // A button type of its own: the system no longer draws it as a group box.
    SetWindowLongPtrA(groupBox, GWL_STYLE, GetWindowLongPtrA(groupBox, GWL_STYLE) | BS_TYPEMASK);
    SetWindowSubclass(groupBox, subclassProcedure, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    InvalidateRect(groupBox, nullptr, TRUE);
    return true;
}

void RoundedGroupBox::paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    const int saved = SaveDC(dc);
    if (HFONT font = reinterpret_cast<HFONT>(SendMessageA(hwnd_, WM_GETFONT, 0, 0))) SelectObject(dc, font);
    SetTextColor(dc, kSkinText);
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, kSkinBody);
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);

    // The window's rectangle in its own client coordinates: the edges are taken off below.
    RECT client;
    GetWindowRect(hwnd_, &client);
    MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&client), 2);
    char caption[256] = {};
    GetWindowTextA(hwnd_, caption, sizeof caption);
    const std::string text = PaddedCaption(caption);
    SIZE extent = {};
    GetTextExtentPoint32A(dc, text.c_str(), int(text.size()), &extent);
    const UINT dpi = WindowDpi(hwnd_);
    const SystemEdges edges = {SystemMetricForDpi(SM_CXEDGE, dpi), SystemMetricForDpi(SM_CYEDGE, dpi),
                               SystemMetricForDpi(SM_CXBORDER, dpi), SystemMetricForDpi(SM_CYBORDER, dpi)};
    const LONG_PTR style = GetWindowLongPtrA(hwnd_, GWL_STYLE);
    const GroupBoxLayout layout =
        LayoutGroupBox({client.left, client.top, client.right, client.bottom}, EdgesOf(hwnd_), edges,
                       AlignmentOf(style), extent.cx, metrics.tmHeight);
    if (!(style & BS_FLAT)) {
        const int corner = ScaledToDpi(20, dpi);
        DrawOutline(dc, layout.outline, 0, corner, kOuterLine);
        DrawOutline(dc, layout.outline, 1, corner, kSkinBand);
    }
    if (!(style & (BS_ICON | BS_BITMAP))) {
        RECT line = {layout.textStart, layout.textLine, layout.textEnd, layout.textLine};
        DrawTextA(dc, text.c_str(), int(text.size()), &line, DT_SINGLELINE | DT_VCENTER | DT_NOCLIP);
    }
    RestoreDC(dc, saved);
    EndPaint(hwnd_, &ps);
}

LRESULT CALLBACK RoundedGroupBox::subclassProcedure(HWND window, UINT message, WPARAM wParam,
                                                    LPARAM lParam, UINT_PTR, DWORD_PTR self) {
    auto* box = reinterpret_cast<RoundedGroupBox*>(self);
    switch (message) {
    case WM_PAINT:
        box->paint();
        return 0;
    case WM_NCHITTEST:
        return HTTRANSPARENT;  // clicks go to the controls inside, or to the dialog
    case WM_NCDESTROY:
        RemoveWindowSubclass(window, subclassProcedure, kSubclassId);
        box->hwnd_ = nullptr;
        break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}
