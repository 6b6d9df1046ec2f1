// The details pane under the globe: the home location and the day's times.
#pragma once

#include "desktop/EarthFrameRules.h"
#include "desktop/OffscreenDib.h"
#include "platform/HandleOwners.h"
#include "platform/Window.h"

#include <string>
#include <vector>

class RecursiveLock;
struct AstroState;
struct UserOptions;

class DataPane : public Window {
public:
    DataPane(const UserOptions& options, const AstroState& astro, RecursiveLock& lock)
        : options_(options), astro_(astro), lock_(lock) {}
    bool create(HWND parent, int id);

protected:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void onPaint(HDC target) override;
    bool onEraseBackground(HDC) override;
    void onSize(int width, int height, UINT kind) override;
    void onDestroy() override;

private:
    void drawBackground(int width, int height, UINT dpi);
    // The pane's texts, read from the options and the clock state under their lock.
    std::vector<PaneText> texts(int width, int charHeight, int dpi) const;
    std::string text() const;
    const UserOptions& options_;
    const AstroState& astro_;
    RecursiveLock& lock_;
    OffscreenDib backBuffer_;
    OffscreenDib background_;
    UINT backgroundDpi_ = 0;
    GdiFont font_;
    UINT fontDpi_ = 0;  // the DPI font_ was made for
    GdiBitmap decoration_;
};
