#include "desktop/NoticeDialog.h"

#include "platform/Dpi.h"
#include "platform/Resources.h"
#include "res/resource.h"
#include "ui/SkinnedDialog.h"

#include <algorithm>
#include <climits>

namespace {

class Notice : public SkinnedDialog {
public:
    Notice(int id, const SkinBrushes& brushes)
        : SkinnedDialog(id, {IDB_BANNER_NOTICE, 166, kBannerBandHeight, ControlColours::Light,
                             {{IDOK, IDB_FACES_CLOSE}}, {}},
                        brushes) {}

protected:
    bool onInitDialog() override {
        putPicture();
        return true;
    }

    void onDpiLaidOut() override { putPicture(); }

    // A notice's picture comes at the dialog's DPI; the controls under it move down where it
    // grew more than the dialog units did (they follow the font, which grows a little less).
    void putPicture() {
        HWND picture = GetDlgItem(hwnd(), IDC_NOTICE_PICTURE);
        if (picture == nullptr) return;
        const RECT before = placeOf(picture);
        PutBitmapForDpi(picture, IDB_TRAY_REMINDER, picture_);
        const RECT after = placeOf(picture);
        int below = INT_MAX;  // the top of the controls under the picture
        for (HWND child = GetWindow(hwnd(), GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
            if (child != picture && placeOf(child).top >= before.bottom) below = std::min(below, int(placeOf(child).top));
        }
        const int shift = below == INT_MAX ? 0 : after.bottom + ScaledToDpi(4, WindowDpi(hwnd())) - below;
        if (shift <= 0) return;
        for (HWND child = GetWindow(hwnd(), GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
            const RECT r = placeOf(child);
            if (child == picture || r.top < before.bottom) continue;
            SetWindowPos(child, nullptr, r.left, r.top + shift, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        RECT window;
        GetWindowRect(hwnd(), &window);
        SetWindowPos(hwnd(), nullptr, 0, 0, window.right - window.left, window.bottom - window.top + shift,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    // A control's rectangle in the dialog's client area.
    RECT placeOf(HWND control) const {
        RECT r;
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }

    bool onCommand(UINT id) override {
        if (id != IDOK && id != IDCANCEL) return SkinnedDialog::onCommand(id);
        end(IsDlgButtonChecked(hwnd(), IDC_DONT_TELL_AGAIN) == BST_CHECKED);
        return true;
    }

private:
    GdiBitmap picture_;
};

}  // namespace

bool ShowNotice(HWND owner, int id, const SkinBrushes& brushes) {
    return Notice(id, brushes).runModal(owner) == 1;
}
