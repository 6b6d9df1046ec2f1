#include "ui/SkinButton.h"

#include <commctrl.h>

namespace {
constexpr UINT_PTR kSubclassId = 0x534B;  // "SK"
}

SkinButton::~SkinButton() {
    detach();
    if (strip_ != nullptr) DeleteObject(strip_);
}

void SkinButton::detach() {
    if (hwnd_ != nullptr && IsWindow(hwnd_)) RemoveWindowSubclass(hwnd_, subclassProcedure, kSubclassId);
    hwnd_ = nullptr;
}

bool SkinButton::attach(HWND button, int bitmapId) {
    if (button == nullptr) return false;
    detach();
    hwnd_ = button;
    hover_ = tracking_ = false;
    SetWindowSubclass(button, subclassProcedure, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    return LoadFaces(bitmapId);
}

bool SkinButton::create(HWND parent, const char* caption, int x, int y, int id, int bitmapId) {
    HWND button = CreateWindowExA(0, "BUTTON", caption, WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, x, y,
                                  1, 1, parent, reinterpret_cast<HMENU>(INT_PTR(id)),
                                  GetModuleHandleA(nullptr), nullptr);
    return attach(button, bitmapId);
}

bool SkinButton::LoadFaces(int bitmapId) {
    if (strip_ != nullptr) DeleteObject(strip_);
    strip_ = static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(bitmapId),
                                             IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS));
    BITMAP info = {};
    if (strip_ != nullptr) GetObjectA(strip_, sizeof info, &info);
    faces_ = FacesOf(info.bmWidth, info.bmHeight);
    if (hwnd_ != nullptr) {
        SetWindowPos(hwnd_, nullptr, 0, 0, faces_.faceWidth, faces_.faceHeight,
                     SWP_NOMOVE | SWP_NOOWNERZORDER | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return true;
}

void SkinButton::draw(const DRAWITEMSTRUCT& item) const {
    if (strip_ == nullptr) return;
    HDC memory = CreateCompatibleDC(item.hDC);
    HGDIOBJ previous = SelectObject(memory, strip_);
    BitBlt(item.hDC, 0, 0, faces_.faceWidth, faces_.faceHeight, memory,
           FaceOffset(faces_, (item.itemState & ODS_SELECTED) != 0, hover_), 0, SRCCOPY);
    SelectObject(memory, previous);
    DeleteDC(memory);
}

// Whether a point in the button's client coordinates lies on it.
bool SkinButton::over(LPARAM point) const {
    RECT client;
    GetClientRect(hwnd_, &client);
    const POINT at = {short(LOWORD(point)), short(HIWORD(point))};
    return PtInRect(&client, at) != FALSE;
}

void SkinButton::setHover(bool hover) {
    if (hover_ == hover) return;
    hover_ = hover;
    InvalidateRect(hwnd_, nullptr, TRUE);
    UpdateWindow(hwnd_);
}

LRESULT SkinButton::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_MOUSEMOVE:
        // The mouse on the button shows the hover face at once (as a 1-millisecond hover
        // notice would); while the button holds the mouse (pressed), moves outside it come
        // here too.
        setHover(over(lParam));
        if (!tracking_) {
            TRACKMOUSEEVENT track = {sizeof(track)};
            track.dwFlags = TME_HOVER | TME_LEAVE;
            track.hwndTrack = hwnd_;
            track.dwHoverTime = 1;
            tracking_ = _TrackMouseEvent(&track) != FALSE;
        }
        break;
    case WM_MOUSEHOVER:
        if (over(lParam)) setHover(true);  // a late notice after the mouse left is ignored
        break;
    case WM_MOUSELEAVE:
        tracking_ = false;
        setHover(false);
        return 0;
    case WM_LBUTTONUP:
        if (!over(lParam)) setHover(false);  // let go elsewhere
        break;
    case WM_CAPTURECHANGED:
        tracking_ = false;  // the next move asks again for hover and leave notifications
        break;
    case WM_ERASEBKGND:
        return 1;  // the face covers everything
    }
    return DefSubclassProc(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK SkinButton::subclassProcedure(HWND window, UINT message, WPARAM wParam,
                                               LPARAM lParam, UINT_PTR, DWORD_PTR self) {
    auto* button = reinterpret_cast<SkinButton*>(self);
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(window, subclassProcedure, kSubclassId);
        if (button->hwnd_ == window) button->hwnd_ = nullptr;
        return DefSubclassProc(window, message, wParam, lParam);
    }
    return button->handleMessage(message, wParam, lParam);
}
