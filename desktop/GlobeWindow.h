// A plain top-level window around the Earth view, until the earth clock window takes its place.
#pragma once

#include "platform/Window.h"
#include "render/EarthView.h"

class GlobeWindow : public Window {
public:
    explicit GlobeWindow(const EarthViewModel& model) : view_(model) {}
    bool create(const RECT& bounds, bool show);
    HWND view() const { return view_.hwnd(); }

protected:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool onCreate() override;

private:
    EarthView view_;
};
