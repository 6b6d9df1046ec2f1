// The dialogs that allow one open dialog of their kind: a second one ends at once with its
// refusal, and once the first has closed, a new one opens again.
#include "ui/SkinnedDialog.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

constexpr int kTestDialog = 5000;
constexpr UINT kWhenShown = WM_APP + 1;

// A one-of-a-kind dialog that runs `whenShown` once it shows, then ends with IDOK.
class OneOfAKind : public SkinnedDialog {
public:
    OneOfAKind(const SkinBrushes& brushes, std::function<void(HWND)> whenShown)
        : SkinnedDialog(kTestDialog, Skin(), brushes), whenShown_(std::move(whenShown)) {}
    static DialogSkin Skin() {
        DialogSkin skin = {0, 0, kBannerBandHeight, ControlColours::Standard, {}, {}};
        skin.singleInstance = true;
        skin.refusedResult = 7;
        return skin;
    }

protected:
    bool onInitDialog() override {
        PostMessageA(hwnd(), kWhenShown, 0, 0);
        return true;
    }
    bool handleMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override {
        if (message == kWhenShown) {
            if (whenShown_) whenShown_(hwnd());
            end(IDOK);
            return true;
        }
        return SkinnedDialog::handleMessage(message, wParam, lParam, result);
    }

private:
    std::function<void(HWND)> whenShown_;
};

TEST(SkinnedDialogs, OneOfAKindAtATime) {
    HBRUSH light = CreateSolidBrush(kSkinBody), dark = CreateSolidBrush(kSkinBand);
    const SkinBrushes brushes = {light, dark};
    INT_PTR second = -1;
    bool secondShown = false;
    const INT_PTR first = OneOfAKind(brushes, [&](HWND) {
        second = OneOfAKind(brushes, [&](HWND) { secondShown = true; }).runModal(nullptr);
    }).runModal(nullptr);
    EXPECT_EQ(first, IDOK);
    EXPECT_EQ(second, 7) << "the second one was refused";
    EXPECT_FALSE(secondShown);
    bool again = false;
    EXPECT_EQ(OneOfAKind(brushes, [&](HWND) { again = true; }).runModal(nullptr), IDOK);
    EXPECT_TRUE(again) << "with the first closed, one opens again";
    DeleteObject(light);
    DeleteObject(dark);
}

}  // namespace
