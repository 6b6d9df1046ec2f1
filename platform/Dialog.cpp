#include "platform/Dialog.h"

#include "platform/FailureTrace.h"
#include "platform/Window.h"

bool IsControlColourMessage(UINT message) {
    switch (message) {
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        return true;
    }
    return false;
}

INT_PTR Dialog::runModal(HWND owner) {
    const INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId_), owner,
                                           dialogProcedure, reinterpret_cast<LPARAM>(this));
    if (result == -1) TraceFailure("DialogBoxParam " + std::to_string(templateId_));
    return result;
}

Dialog::~Dialog() { destroy(); }

bool Dialog::openModeless(HWND owner) {
    modeless_ = true;
    if (CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId_), owner, dialogProcedure,
                           reinterpret_cast<LPARAM>(this)) != nullptr) {
        return true;
    }
    TraceFailure("CreateDialogParam " + std::to_string(templateId_));
    return false;
}

void Dialog::destroy() {
    if (hwnd_ != nullptr && modeless_) DestroyWindow(hwnd_);
}

void Dialog::end(INT_PTR result) {
    if (modeless_) {
        destroy();
    } else {
        EndDialog(hwnd_, result);
    }
}

bool Dialog::onCommand(UINT id) {
    if (id != IDOK && id != IDCANCEL) return false;
    end(id);
    return true;
}

bool Dialog::handleMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
    switch (message) {
    case WM_INITDIALOG:
        result = onInitDialog() ? TRUE : FALSE;
        return true;
    case WM_COMMAND:
        result = TRUE;
        if (lParam != 0 && HIWORD(wParam) != BN_CLICKED) return onControlNotice(LOWORD(wParam), HIWORD(wParam));
        return onCommand(LOWORD(wParam));
    case WM_DESTROY:
        onDestroy();
        return false;
    case WM_TIMER:
        return onTimer(wParam);  // answered with 0
    case WM_ERASEBKGND:
        return onEraseBackground(reinterpret_cast<HDC>(wParam), result);
    case WM_DRAWITEM:
        result = TRUE;
        return onDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_DPICHANGED:  // before the dialog manager lays the controls out for the new DPI
        onDpiChanged();
        PostMessageA(hwnd_, kDpiLaidOut, 0, 0);  // what the dialog lays out itself follows
        return false;
    case kDpiLaidOut:
        onDpiLaidOut();
        result = TRUE;
        return true;
    }
    return false;
}

INT_PTR CALLBACK Dialog::dialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<Dialog*>(lParam);
        self->hwnd_ = dialog;
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        if (self->modeless_) RouteDialogKeys(dialog, true);
    }
    auto* self = reinterpret_cast<Dialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
    if (self == nullptr) return FALSE;
    if (message == WM_DESTROY && self->modeless_) RouteDialogKeys(dialog, false);
    INT_PTR result = FALSE;
    const bool handled = self->handleMessage(message, wParam, lParam, result);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(dialog, DWLP_USER, 0);
        self->hwnd_ = nullptr;
    }
    if (!handled) return FALSE;
    // Answers other than TRUE/FALSE go through DWLP_MSGRESULT, except for the messages whose
    // answer is the return value itself.
    if (message == WM_INITDIALOG || IsControlColourMessage(message)) return result;
    SetWindowLongPtrA(dialog, DWLP_MSGRESULT, result);
    return TRUE;
}

void Dialog::checkRadio(int id) {
    HWND chosen = GetDlgItem(hwnd_, id);
    HWND item = chosen;
    while (item != nullptr) {
        const LONG type = GetWindowLongA(item, GWL_STYLE) & BS_TYPEMASK;
        if (type == BS_AUTORADIOBUTTON || type == BS_RADIOBUTTON) {
            SendMessageA(item, BM_SETCHECK, item == chosen ? BST_CHECKED : BST_UNCHECKED, 0);
        }
        item = GetNextDlgGroupItem(hwnd_, item, FALSE);
        if (item == chosen) break;
    }
}
