#include "desktop/NoticeDialog.h"

#include "res/resource.h"
#include "ui/SkinnedDialog.h"

namespace {

class Notice : public SkinnedDialog {
public:
    Notice(int id, const SkinBrushes& brushes)
        : SkinnedDialog(id, {IDB_BANNER_NOTICE, 166, kBannerBandHeight, ControlColours::Light,
                             {{IDOK, IDB_FACES_CLOSE}}, {}},
                        brushes) {}

protected:
    bool onCommand(UINT id) override {
        if (id != IDOK && id != IDCANCEL) return SkinnedDialog::onCommand(id);
        end(IsDlgButtonChecked(hwnd(), IDC_DONT_TELL_AGAIN) == BST_CHECKED);
        return true;
    }
};

}  // namespace

bool ShowNotice(HWND owner, int id, const SkinBrushes& brushes) {
    return Notice(id, brushes).runModal(owner) == 1;
}
