#include "ui/SkinnedDialog.h"

#include "platform/Dpi.h"
#include "platform/Resources.h"
#include "ui/HelpPage.h"
#include "ui/SkinGeometry.h"

#include <uxtheme.h>

#include <map>

namespace {

// Open dialogs by template, for the kinds that allow one at a time (user-interface thread).
std::map<int, int>& OpenDialogs() {
    static std::map<int, int> open;
    return open;
}

// Whether `control` is a check box or a radio button (of any kind: automatic, three-state).
bool IsCheckOrRadio(HWND control) {
    char name[16] = {};
    GetClassNameA(control, name, sizeof name);
    switch (GetWindowLongPtrA(control, GWL_STYLE) & BS_TYPEMASK) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
        return lstrcmpiA(name, "Button") == 0;
    }
    return false;
}

void Fill(HDC dc, const SkinRect& r, HBRUSH brush) {
    const RECT rect = {r.left, r.top, r.right, r.bottom};
    FillRect(dc, &rect, brush);
}

}  // namespace

void SkinnedDialog::attachControls() {
    // With visual styles, check boxes and radio buttons draw their labels in the theme's text
    // colour whatever the dialog sets (black on the light body): they go without, and take the
    // dialog's white. (A class list that names no class; some systems refuse an empty one.)
    for (HWND child = GetWindow(hwnd(), GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        if (IsCheckOrRadio(child)) SetWindowTheme(child, L" ", L" ");
    }
    for (const ButtonFaces& b : skin_.buttons) {
        auto button = std::make_unique<SkinButton>();
        if (button->attach(GetDlgItem(hwnd(), b.control), b.faces)) buttons_.push_back(std::move(button));
    }
    for (int id : skin_.groupFrames) {
        auto frame = std::make_unique<RoundedGroupBox>();
        if (frame->attach(GetDlgItem(hwnd(), id))) frames_.push_back(std::move(frame));
    }
}

void SkinnedDialog::setShield(int control, bool shown) {
    const HWND button = GetDlgItem(hwnd(), control);
    for (const auto& b : buttons_) {
        if (b->hwnd() == button) b->setShield(shown);
    }
}

bool SkinnedDialog::paintBackground(HDC dc) {
    RECT client;
    GetClientRect(hwnd(), &client);
    const UINT dpi = WindowDpi(hwnd());
    const DialogBands bands = BandsOf(client.right, client.bottom, ScaledToDpi(skin_.bannerWidth, dpi),
                                      ScaledToDpi(kBannerBandHeight, dpi));
    Fill(dc, bands.band, brushes_.dark);
    banner_.draw(dc, dpi, bands.banner.left, bands.banner.top);
    Fill(dc, bands.body, brushes_.light);
    return true;
}

HBRUSH SkinnedDialog::controlColour(UINT message, HDC dc) const {
    SetTextColor(dc, kSkinText);
    // List boxes draw their items opaque: they take the edits' colours.
    const bool edit = message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX;
    switch (skin_.colours) {
    case ControlColours::Standard:
        if (edit || message == WM_CTLCOLORMSGBOX || message == WM_CTLCOLORBTN) {
            SetBkColor(dc, kSkinBand);
            return brushes_.dark;
        }
        SetBkMode(dc, TRANSPARENT);
        return brushes_.light;
    case ControlColours::ClockSettings:
        SetBkMode(dc, TRANSPARENT);
        return edit ? brushes_.dark : brushes_.light;
    case ControlColours::Light:
        SetBkMode(dc, TRANSPARENT);
        return brushes_.light;
    }
    return brushes_.light;
}

bool SkinnedDialog::onCommand(UINT id) {
    if (id == kHelpButton && skin_.helpPage != nullptr) {
        OpenHelpPage(skin_.helpPage, SW_SHOWNORMAL);
        return true;
    }
    return Dialog::onCommand(id);
}

// Skins the dialog; false when it is one of a kind already open (it ends at once).
bool SkinnedDialog::initSkin() {
    // The banner's words as the window's text (its string shares the banner's id).
    SetWindowTextA(hwnd(), LoadResourceString(UINT(skin_.bannerBitmap)).c_str());
    attachControls();
    if (skin_.singleInstance) {
        counted_ = true;
        if (OpenDialogs()[templateId()]++ > 0) {
            end(skin_.refusedResult);
            return false;
        }
    }
    return true;
}

LRESULT SkinnedDialog::hitTest(WPARAM wParam, LPARAM lParam) {
    const LRESULT hit = DefWindowProcA(hwnd(), WM_NCHITTEST, wParam, lParam);
    POINT at = {short(LOWORD(lParam)), short(HIWORD(lParam))};
    ScreenToClient(hwnd(), &at);
    RECT client;
    GetClientRect(hwnd(), &client);
    // The button as it is now: the hit test may come before the press reaches the queue.
    const int left = GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON;
    const bool drag = hit == HTCLIENT && (GetAsyncKeyState(left) & 0x8000) &&
                      InDragBand(at.x, at.y, client.right, ScaledToDpi(skin_.dragHeight, WindowDpi(hwnd())));
    return drag ? HTCAPTION : hit;
}

void SkinnedDialog::onDpiChanged() {
    // The dialog manager lays the controls out anew (the buttons then load their faces).
    InvalidateRect(hwnd(), nullptr, TRUE);
}

bool SkinnedDialog::onEraseBackground(HDC dc, INT_PTR& result) {
    result = paintBackground(dc);
    return true;
}

bool SkinnedDialog::onDrawItem(const DRAWITEMSTRUCT& item) {
    for (const auto& button : buttons_) {
        if (button->hwnd() == item.hwndItem) {
            button->draw(item);
            return true;
        }
    }
    return false;
}

bool SkinnedDialog::handleMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
    if (IsControlColourMessage(message)) {
        result = reinterpret_cast<INT_PTR>(controlColour(message, reinterpret_cast<HDC>(wParam)));
        return true;
    }
    switch (message) {
    case WM_INITDIALOG:
        if (!initSkin()) {
            result = TRUE;
            return true;
        }
        break;
    case WM_DESTROY:
        if (counted_) --OpenDialogs()[templateId()];
        counted_ = false;
        break;
    case WM_NCHITTEST:
        result = hitTest(wParam, lParam);
        return true;
    }
    return Dialog::handleMessage(message, wParam, lParam, result);
}
