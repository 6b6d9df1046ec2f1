#include "ui/SkinButton.h"

#include "platform/Dpi.h"
#include "platform/Resources.h"
#include "ui/SkinColours.h"

#include <commctrl.h>

#include <algorithm>

namespace {
constexpr UINT_PTR kSubclassId = 0x534B;  // "SK"
}

SkinButton::~SkinButton() { detach(); }

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
    facesId_ = bitmapId;
    strip_ = LoadBitmapForDpi(bitmapId, WindowDpi(hwnd_), LR_LOADMAP3DCOLORS);
    BITMAP info = {};
    if (strip_) GetObjectA(strip_.get(), sizeof info, &info);
    faces_ = FacesOf(info.bmWidth, info.bmHeight);
    if (hwnd_ != nullptr) {
        // A dialog's button keeps the middle of its place in the template: dialog units follow
        // the font, which grows a little less or more than the DPI, so a face at the corner of
        // its place could stick out of the dialog. A button made by hand (1 x 1) keeps its corner.
        RECT place;
        GetWindowRect(hwnd_, &place);
        MapWindowPoints(nullptr, GetParent(hwnd_), reinterpret_cast<POINT*>(&place), 2);
        const int width = place.right - place.left, height = place.bottom - place.top;
        const bool fromTemplate = width > 1 && height > 1;
        const int x = fromTemplate ? place.left + (width - faces_.faceWidth) / 2 : place.left;
        const int y = fromTemplate ? place.top + (height - faces_.faceHeight) / 2 : place.top;
        SetWindowPos(hwnd_, nullptr, x, y, faces_.faceWidth, faces_.faceHeight,
                     SWP_NOOWNERZORDER | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return true;
}

void SkinButton::dpiChanged() {
    if (facesId_ != 0) LoadFaces(facesId_);
    if (shield_) setShield(true);
}

namespace {

// The system's shield icon drawn for `size` pixels (scaled down from its larger images, as the
// system does for DPI), else the one user32 keeps at its own size.
IconHandle LoadShieldIcon(int size) {
    // Common controls 6 have it (the manifest asks for them); the import library does not.
    using ScaleDown = HRESULT(WINAPI*)(HINSTANCE, PCWSTR, int, int, HICON*);
    static const auto scaleDown = reinterpret_cast<ScaleDown>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"comctl32.dll"), "LoadIconWithScaleDown")));
    HICON icon = nullptr;
    if (scaleDown != nullptr && SUCCEEDED(scaleDown(nullptr, MAKEINTRESOURCEW(32518) /* IDI_SHIELD */, size, size, &icon))) {
        return IconHandle(icon);
    }
    const auto shared = static_cast<HICON>(LoadImageW(nullptr, MAKEINTRESOURCEW(32518), IMAGE_ICON, 0, 0, LR_SHARED));
    return IconHandle(shared != nullptr ? CopyIcon(shared) : nullptr);
}

}  // namespace

void SkinButton::setShield(bool shown) {
    shield_ = shown ? LoadShieldIcon(SystemMetricForDpi(SM_CXSMICON, WindowDpi(hwnd_))) : IconHandle();
    if (hwnd_ == nullptr) return;
    // Told as well, for whatever reads the button's state.
    SendMessageW(hwnd_, BCM_SETSHIELD, 0, shown);
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void SkinButton::draw(const DRAWITEMSTRUCT& item) const {
    if (!strip_) return;
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    const MemoryDC memory = MemoryDC::CompatibleWith(item.hDC);
    const SelectedObject selection(memory.get(), strip_.get());
    const int face = FaceOffset(faces_, !disabled && (item.itemState & ODS_SELECTED) != 0, !disabled && hover_);
    BitBlt(item.hDC, 0, 0, faces_.faceWidth, faces_.faceHeight, memory.get(), face, 0, SRCCOPY);
    if (shield_) {
        // Before the label, which sits in the face's middle third.
        const int size = SystemMetricForDpi(SM_CXSMICON, WindowDpi(hwnd_));
        DrawIconEx(item.hDC, std::max(4, faces_.faceWidth / 3 - size - 2), (faces_.faceHeight - size) / 2, shield_.get(), size,
                   size, 0, nullptr, DI_NORMAL);
    }
    if (disabled) {
        // Dimmed: the dialog body's colour laid over the face at 60 %; its corners, already
        // that colour, stay as they are.
        const MemoryDC body = MemoryDC::CompatibleWith(item.hDC);
        const GdiBitmap pixel(CreateCompatibleBitmap(item.hDC, 1, 1));
        const SelectedObject pixelSelection(body.get(), pixel.get());
        SetPixel(body.get(), 0, 0, kSkinBody);
        const BLENDFUNCTION veil = {AC_SRC_OVER, 0, 153, 0};
        AlphaBlend(item.hDC, 0, 0, faces_.faceWidth, faces_.faceHeight, body.get(), 0, 0, 1, 1, veil);
    }
    if ((item.itemState & ODS_FOCUS) != 0 && (item.itemState & ODS_NOFOCUSRECT) == 0) {
        RECT focus = {4, 4, faces_.faceWidth - 4, faces_.faceHeight - 4};
        SetTextColor(item.hDC, kSkinText);
        SetBkColor(item.hDC, kSkinBand);
        DrawFocusRect(item.hDC, &focus);
    }
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

// Hover follows the mouse: the hover face while it is over the button.
void SkinButton::followMouse(UINT message, LPARAM lParam) {
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
        break;
    case WM_LBUTTONUP:
        if (!over(lParam)) setHover(false);  // let go elsewhere
        break;
    case WM_CAPTURECHANGED:
        tracking_ = false;  // the next move asks again for hover and leave notifications
        break;
    }
}

// A push button to the dialog manager: the default button follows the focus, and Enter
// presses the focused button (Space is the button class's own).
LRESULT SkinButton::dialogCode() const {
    // A focused button is the one Enter presses, however it got the focus (the dialog's
    // first focus, Alt+letter, a click, a nested dialog closing), not only after a Tab.
    return DLGC_BUTTON | (default_ || GetFocus() == hwnd_ ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
}

LRESULT SkinButton::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case kDpiChangedAfterParent:
        // The dialog has laid its controls out for the new DPI: the faces follow.
        dpiChanged();
        break;
    case WM_MOUSELEAVE:
        followMouse(message, lParam);
        return 0;
    case WM_MOUSEMOVE:
    case WM_MOUSEHOVER:
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
        followMouse(message, lParam);
        break;
    case WM_ERASEBKGND:
        return 1;  // the face covers everything
    case WM_KEYDOWN:
        // Escape closes the window the button sits on; a dialog's manager takes it before.
        if (wParam == VK_ESCAPE) return SendMessageA(GetParent(hwnd_), message, wParam, lParam);
        break;
    case WM_GETDLGCODE:
        return dialogCode();
    case BM_SETSTYLE:
        // The dialog manager marks the default this way; the button stays owner-drawn.
        default_ = (wParam & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
        if (lParam != 0) InvalidateRect(hwnd_, nullptr, FALSE);
        return 0;
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
