// The dialogs' shared look and behaviour: a banner on a dark band over a light body, white
// text, buttons drawn from face strips, rounded group frames, dragged by the top band, a Help
// button opening its page, and at most one open dialog of a kind where that is asked for.
// Each dialog supplies only its constants.
#pragma once

#include "platform/Dialog.h"
#include "platform/Resources.h"
#include "ui/RoundedGroupBox.h"
#include "ui/SkinButton.h"
#include "ui/SkinColours.h"

#include <memory>
#include <vector>

// How the controls are coloured.
enum class ControlColours {
    Standard,       // edits, buttons and message boxes on the dark colour, the rest transparent on the light
    ClockSettings,  // transparent and white always; edits on the dark colour, the rest on the light
    Light,          // transparent, white, the light colour for everything
};

struct ButtonFaces {
    int control;
    int faces;  // the face strip's bitmap
};

struct DialogSkin {
    int bannerBitmap;
    int bannerWidth;
    int dragHeight;  // the top band by which the dialog is dragged
    ControlColours colours;
    std::vector<ButtonFaces> buttons;
    std::vector<int> groupFrames;
    const char* helpPage = nullptr;  // opened by the Help button (1102), relative to the program
    bool singleInstance = false;     // a second dialog of the kind ends at once
    INT_PTR refusedResult = IDCANCEL;  // what such a second dialog ends with
};

constexpr int kHelpButton = 1102;

class SkinnedDialog : public Dialog {
public:
    SkinnedDialog(int templateId, const DialogSkin& skin, const SkinBrushes& brushes)
        : Dialog(templateId), skin_(skin), brushes_(brushes), banner_(skin.bannerBitmap) {}

protected:
    bool handleMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;
    bool onCommand(UINT id) override;
    void onDpiChanged() override;
    bool onEraseBackground(HDC dc, INT_PTR& result) override;
    bool onDrawItem(const DRAWITEMSTRUCT& item) override;
    const SkinBrushes& brushes() const { return brushes_; }
    // Shows or hides the administrator's shield on skinned button `control`.
    void setShield(int control, bool shown);

private:
    bool initSkin();
    void attachControls();
    LRESULT hitTest(WPARAM wParam, LPARAM lParam);
    bool paintBackground(HDC dc);
    HBRUSH controlColour(UINT message, HDC dc) const;

    DialogSkin skin_;
    SkinBrushes brushes_;
    DpiBitmap banner_;
    std::vector<std::unique_ptr<SkinButton>> buttons_;
    std::vector<std::unique_ptr<RoundedGroupBox>> frames_;
    bool counted_ = false;
};
