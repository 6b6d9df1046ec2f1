// The details pane under the globe: the home location and the day's times.
#pragma once

#include "desktop/OffscreenDib.h"
#include "platform/Window.h"

#include <string>

struct AstroState;
struct UserOptions;

class DataPane : public Window {
public:
    DataPane(const UserOptions& options, const AstroState& astro) : options_(options), astro_(astro) {}
    ~DataPane() override;
    bool create(HWND parent, int id);

protected:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void paint(HDC target);
    std::string text() const;
    const UserOptions& options_;
    const AstroState& astro_;
    OffscreenDib backBuffer_;
    HFONT font_ = nullptr;
    HBITMAP decoration_ = nullptr;
};
