#include "desktop/NoticeDialog.h"

#include "platform/Resources.h"
#include "res/resource.h"
#include "ui/SkinnedDialog.h"

namespace {

class Notice : public SkinnedDialog {
public:
    Notice(int id, const SkinBrushes& brushes)
        : SkinnedDialog(id, {IDB_BANNER_NOTICE, 166, kBannerBandHeight, ControlColours::Light,
                             {{IDOK, IDB_FACES_CLOSE}}, {}},
                        brushes) {}

    ~Notice() override {
        if (picture_ != nullptr) DeleteObject(picture_);
    }

protected:
    // A notice's picture is drawn for 96 DPI: it is put in at the dialog's.
    bool onInitDialog() override {
        if (HWND picture = GetDlgItem(hwnd(), IDC_NOTICE_PICTURE)) picture_ = PutBitmapForDpi(picture, IDB_TRAY_REMINDER);
        return true;
    }

    bool onCommand(UINT id) override {
        if (id != IDOK && id != IDCANCEL) return SkinnedDialog::onCommand(id);
        end(IsDlgButtonChecked(hwnd(), IDC_DONT_TELL_AGAIN) == BST_CHECKED);
        return true;
    }

private:
    HBITMAP picture_ = nullptr;
};

}  // namespace

bool ShowNotice(HWND owner, int id, const SkinBrushes& brushes) {
    return Notice(id, brushes).runModal(owner) == 1;
}
