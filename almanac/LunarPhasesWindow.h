// The Lunar Phases window: the coming principal phases of the Moon with their dates and
// pictures, a word on the lunar month, tonight's illumination, the lit Moon and the animated
// orbit. At most one; dragged by its banner; it keeps the orbit's angles between openings.
#pragma once

#include "almanac/IlluminationView.h"
#include "almanac/OrbitView.h"
#include "almanac/PhaseInputs.h"
#include "platform/HandleOwners.h"
#include "platform/Resources.h"
#include "platform/Window.h"
#include "platform/WindowVisibility.h"
#include "res/resource.h"
#include "ui/SkinButton.h"

#include <memory>
#include <string>

class LunarPhasesWindow : public Window {
public:
    explicit LunarPhasesWindow(const PhaseInputs& inputs) : inputs_(inputs) {}
    ~LunarPhasesWindow() override;
    // Opens the window centred on the primary display, or brings it to the front when open.
    void open();

protected:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool onCreate() override;
    void onDestroy() override;
    bool onCommand(UINT id) override;
    void onTimer(UINT_PTR id) override;
    bool onEraseBackground(HDC dc) override;
    bool onDrawItem(const DRAWITEMSTRUCT& item) override;
    void onPlacementChanged() override;
    void onDpiLayout(UINT dpi) override;

private:
    struct Shown {
        PhaseTable table = {};
        std::string illumination, dates;
        int today = 0;  // the local day of the month
    };
    Shown now();
    void paint();
    bool createChildren();
    void destroyChildren();

    PhaseInputs inputs_;
    SkinButton close_;
    WindowVisibility visibility_;  // the orbit draws only while the window can be seen
    std::unique_ptr<IlluminationView> illumination_;
    std::unique_ptr<OrbitView> orbit_;
    OrbitAngles angles_;
    PhaseLabelTracker labels_;
    Shown shown_;
    GdiFont textFont_, headingFont_;
    UINT dpi_ = 96;  // the DPI the children were made for
    DpiBitmap banner_{IDB_BANNER_LUNAR_PHASES};
};
