#include "ui/AboutWindow.h"

#include "platform/Resources.h"
#include "res/resource.h"
#include "ui/SkinnedDialog.h"

namespace {

const char kClassName[] = "SolvaneAbout";
constexpr int kWidth = 640, kHeight = 480;
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
    const int x = work.left + (work.right - work.left) / 2 - kWidth / 2;
    const int y = work.top + (work.bottom - work.top) / 2 - kHeight / 2;
    // Children clipped: the picture is drawn as the background and must not cover the buttons.
    if (create(WS_EX_CLIENTEDGE, kClassName, LoadResourceString(IDS_ABOUT_TITLE).c_str(),
               WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, x, y, kWidth, kHeight)) {
        SetForegroundWindow(hwnd());
    }
}

bool AboutWindow::onCreate() {
    return close_.create(hwnd(), "Close", kCloseX, kButtonsY, IDC_ABOUT_CLOSE, IDB_FACES_CLOSE) &&
           info_.create(hwnd(), "Info", kInfoX, kButtonsY, IDC_ABOUT_INFO, IDB_FACES_INFO);
}

void AboutWindow::paintBackground(HDC dc) {
    DrawResourceBitmap(dc, IDB_SPLASH, 0, 0);  // the picture fills the window
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
    case WM_ERASEBKGND:
        paintBackground(reinterpret_cast<HDC>(wParam));
        return 1;
    case WM_PAINT:
        ValidateRect(hwnd(), nullptr);  // the background is the whole picture
        return 0;
    case WM_KEYDOWN:  // from the window, or passed on by a focused button
        if (wParam == VK_ESCAPE) {
            destroy();
            return 0;
        }
        break;
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item->hwndItem == close_.hwnd()) close_.draw(*item);
        if (item->hwndItem == info_.hwnd()) info_.draw(*item);
        return TRUE;
    }
    }
    return Window::handleMessage(message, wParam, lParam);
}

void ShowProgramInformation(HWND owner, const SkinBrushes& brushes) {
    const DialogSkin skin = {IDB_BANNER_PROGRAM_INFO, 221, kBannerBandHeight, ControlColours::Light,
                             {{IDOK, IDB_FACES_CLOSE}}, {IDC_PROGRAM_INFO_GROUP, IDC_CREDITS_GROUP}};
    SkinnedDialog(IDD_PROGRAM_INFO, skin, brushes).runModal(owner);
}
