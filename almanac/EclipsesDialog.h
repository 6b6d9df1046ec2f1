// The Eclipses window: the next solar and lunar eclipse, the time of greatest eclipse in the
// home's time, and whether home sees it. It follows the eclipse search and the home's zone while
// open.
#pragma once

#include "ui/SkinnedDialog.h"

class ClockSettings;
class EclipseWatch;

class EclipsesDialog : public SkinnedDialog {
public:
    // `eclipses` may be null (no search).
    EclipsesDialog(const EclipseWatch* eclipses, ClockSettings& settings);
    // Opens the window without an owner, or brings it to the front when open. While open, its
    // window takes WM_ECLIPSES_CHANGED to show the outlook anew; Close, Enter and Escape close it.
    void open();

protected:
    bool onInitDialog() override;
    void onDestroy() override;
    bool handleMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

private:
    void showOutlook();

    const EclipseWatch* eclipses_;
    ClockSettings& settings_;
    int listener_ = -1;
};
