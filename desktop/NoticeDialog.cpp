#include "desktop/NoticeDialog.h"

#include "res/resource.h"

namespace {

INT_PTR CALLBACK NoticeProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, IsDlgButtonChecked(dialog, IDC_DONT_TELL_AGAIN) == BST_CHECKED);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

}  // namespace

bool ShowNotice(HWND owner, int id) {
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), owner, NoticeProcedure, 0) == 1;
}
