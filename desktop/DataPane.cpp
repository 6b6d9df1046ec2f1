#include "desktop/DataPane.h"

#include "desktop/EarthFrameRules.h"
#include "render/GlyphFont.h"
#include "res/resource.h"

namespace {

const char kClassName[] = "SolvaneDataPane";
constexpr COLORREF kBackground = RGB(0, 2, 22);
constexpr COLORREF kLabelColour = RGB(128, 128, 198);
constexpr COLORREF kValueColour = RGB(255, 255, 255);

}  // namespace

DataPane::~DataPane() {
    if (font_ != nullptr) DeleteObject(font_);
    if (decoration_ != nullptr) DeleteObject(decoration_);
}

bool DataPane::create(HWND parent, int id) {
    if (!registerClass(kClassName, CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_OWNDC)) return false;
    if (font_ == nullptr) {
        const LOGFONTA description = ArialFont(12, FW_NORMAL);
        font_ = CreateFontIndirectA(&description);
    }
    if (decoration_ == nullptr) {
        decoration_ = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_PANE_DECORATION));
    }
    return Window::create(0, kClassName, "DataPane", WS_CHILD, 0, 0, 300, 300, parent,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
}

void DataPane::paint(HDC target) {
    if (backBuffer_.dc() == nullptr) return;
    HDC dc = backBuffer_.dc();
    const int w = backBuffer_.width(), h = backBuffer_.height();
    const RECT all = {0, 0, w, h};
    HBRUSH background = CreateSolidBrush(kBackground);
    FillRect(dc, &all, background);
    DeleteObject(background);
    const int x0 = PaneBlockLeft(w);
    if (decoration_ != nullptr) {
        HDC source = CreateCompatibleDC(dc);
        HGDIOBJ previous = SelectObject(source, decoration_);
        BitBlt(dc, x0 + 20, h - 80, 500, 80, source, 0, 0, SRCCOPY);
        SelectObject(source, previous);
        DeleteDC(source);
    }
    HGDIOBJ previousFont = SelectObject(dc, font_);
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    SetBkMode(dc, TRANSPARENT);
    for (const PaneText& text : DataPaneTexts(options_, astro_, w, metrics.tmHeight)) {
        SetTextColor(dc, text.label ? kLabelColour : kValueColour);
        TextOutA(dc, text.x, text.y, text.text.c_str(), int(text.text.size()));
    }
    BitBlt(target, 0, 0, w, h, dc, 0, 0, SRCCOPY);
    SelectObject(dc, previousFont);
}

LRESULT DataPane::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd(), &ps);
        paint(dc);
        EndPaint(hwnd(), &ps);
        return 0;
    }
    case WM_SIZE:
        backBuffer_.create(LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_DESTROY:
        backBuffer_.destroy();
        return 0;
    }
    return Window::handleMessage(message, wParam, lParam);
}
