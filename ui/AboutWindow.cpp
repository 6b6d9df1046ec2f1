#include "ui/AboutWindow.h"

#include "platform/Dpi.h"
#include "platform/Resources.h"
#include "res/resource.h"
#include "ui/SkinnedDialog.h"

#include <algorithm>

namespace {

const char kClassName[] = "SolvaneAbout";
constexpr int kWidth = 640, kHeight = 480;  // at 96 DPI, as all the lengths here
// The buttons sit on the picture, at its bottom right.
constexpr int kInfoX = 425, kCloseX = 535, kButtonsY = 365;

}  // namespace

void AboutWindow::open() {
    if (hwnd() != nullptr) {
        ShowWindow(hwnd(), SW_SHOW);
        SetForegroundWindow(hwnd());
        return;
    }
    HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_SOLVANE));
    if (!registerClass(kClassName, CS_OWNDC | CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, nullptr, icon)) return;
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const POINT centre = {work.left + (work.right - work.left) / 2, work.top + (work.bottom - work.top) / 2};
    const UINT dpi = DpiAtPoint(centre);
    const int width = ScaledToDpi(kWidth, dpi), height = ScaledToDpi(kHeight, dpi);
    // Centred; on a screen too small for it, its top left stays in the work area.
    const int x = std::max<int>(work.left, centre.x - width / 2), y = std::max<int>(work.top, centre.y - height / 2);
    // Children clipped: the picture is drawn as the background and must not cover the buttons.
    if (create(WS_EX_CLIENTEDGE, kClassName, LoadResourceString(IDS_ABOUT_TITLE).c_str(),
               WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, x, y, width, height)) {
        SetForegroundWindow(hwnd());
    }
}

bool AboutWindow::onCreate() {
    const UINT dpi = WindowDpi(hwnd());
    return close_.create(hwnd(), "Close", ScaledToDpi(kCloseX, dpi), ScaledToDpi(kButtonsY, dpi), IDC_ABOUT_CLOSE,
                         IDB_FACES_CLOSE) &&
           info_.create(hwnd(), "Info", ScaledToDpi(kInfoX, dpi), ScaledToDpi(kButtonsY, dpi), IDC_ABOUT_INFO,
                        IDB_FACES_INFO);
}

// On a monitor of another DPI (at the size Windows suggests): the buttons' faces and places anew.
void AboutWindow::onDpiLayout(UINT dpi) {
    close_.dpiChanged();
    info_.dpiChanged();
    const int y = ScaledToDpi(kButtonsY, dpi);
    SetWindowPos(close_.hwnd(), nullptr, ScaledToDpi(kCloseX, dpi), y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(info_.hwnd(), nullptr, ScaledToDpi(kInfoX, dpi), y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(hwnd(), nullptr, TRUE);
}

bool AboutWindow::onEraseBackground(HDC dc) {
    // The picture fills the window, at its size for the DPI.
    picture_.draw(dc, WindowDpi(hwnd()), 0, 0);
    return true;
}

bool AboutWindow::onDrawItem(const DRAWITEMSTRUCT& item) {
    if (item.hwndItem == close_.hwnd()) close_.draw(item);
    if (item.hwndItem == info_.hwnd()) info_.draw(item);
    return true;
}

bool AboutWindow::onCommand(UINT id) {
    switch (id) {
    case IDC_ABOUT_CLOSE:
        destroy();
        return true;
    case IDC_ABOUT_INFO:
        ShowProgramInformation(hwnd(), brushes_);
        return true;
    }
    return false;
}

LRESULT AboutWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        ValidateRect(hwnd(), nullptr);  // the background is the whole picture
        return 0;
    case WM_KEYDOWN:  // from the window, or passed on by a focused button
        if (wParam == VK_ESCAPE) {
            destroy();
            return 0;
        }
        break;
    }
    return Window::handleMessage(message, wParam, lParam);
}

void ShowProgramInformation(HWND owner, const SkinBrushes& brushes) {
    const DialogSkin skin = {IDB_BANNER_PROGRAM_INFO, 221, kBannerBandHeight, ControlColours::Light,
                             {{IDOK, IDB_FACES_CLOSE}}, {IDC_PROGRAM_INFO_GROUP, IDC_CREDITS_GROUP}};
    SkinnedDialog(IDD_PROGRAM_INFO, skin, brushes).runModal(owner);
}
