// The About window: the splash picture with a Close and an Info button; Info shows the
// program information dialog. One window for the whole run; opening it again brings it to
// the front.
#pragma once

#include "platform/Resources.h"
#include "platform/Window.h"
#include "res/resource.h"
#include "ui/SkinButton.h"
#include "ui/SkinColours.h"

class AboutWindow : public Window {
public:
    explicit AboutWindow(const SkinBrushes& brushes) : brushes_(brushes) {}
    void open();

protected:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool onCreate() override;
    bool onCommand(UINT id) override;
    bool onEraseBackground(HDC dc) override;
    bool onDrawItem(const DRAWITEMSTRUCT& item) override;
    void onDpiLayout(UINT dpi) override;

private:

    SkinBrushes brushes_;
    SkinButton close_, info_;
    DpiBitmap picture_{IDB_SPLASH};
};

// The program information dialog: name, version and build, and the credits of the data.
void ShowProgramInformation(HWND owner, const SkinBrushes& brushes);
