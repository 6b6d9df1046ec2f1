// The details pane under the globe: the home location and the day's times.
#pragma once

#include "app/ClockSettings.h"
#include "app/PlaceDay.h"
#include "desktop/EarthFrameRules.h"
#include "desktop/HomeZoneDay.h"
#include "desktop/OffscreenDib.h"
#include "platform/HandleOwners.h"
#include "platform/Window.h"

#include <optional>
#include <string>
#include <vector>

class DataPane : public Window {
public:
    explicit DataPane(ClockSettings::Shared shared) : shared_(shared) {}
    bool create(HWND parent, int id);

protected:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void onPaint(HDC target) override;
    bool onEraseBackground(HDC) override;
    void onSize(int width, int height, UINT kind) override;
    void onDestroy() override;

private:
    void drawBackground(int width, int height, UINT dpi);
    // The pane's texts, read from the settings and the clock state under their lock.
    std::vector<PaneText> texts(int width, int charHeight, int dpi) const;
    // The home's day in its named zone (UTC, said so, for a zone this PC lacks); none for this
    // PC's time zone. Called under the lock.
    std::optional<HomeZoneDay> homeZoneDay() const;
    std::string text() const;
    ClockSettings::Shared shared_;
    // The home's calendar day last worked out, and for which zone and place: worked out again
    // when the day ends or the home changes, not every second.
    mutable std::optional<PlaceDay> day_;
    mutable std::string dayZone_;
    mutable double dayLatitude_ = 0, dayLongitude_ = 0;
    OffscreenDib backBuffer_;
    OffscreenDib background_;
    UINT backgroundDpi_ = 0;
    GdiFont font_;
    UINT fontDpi_ = 0;  // the DPI font_ was made for
    GdiBitmap decoration_;
};
