// The round, lit Moon of the Lunar Phases window: a ball lit from the side that the Moon's
// phase angle at noon of today gives, with the Moon's face multiplied over it, so that only
// the lit part of the face shows. Repainted every five minutes, so that it follows the date;
// during a lunar eclipse the Earth's shadow of the instant lies over it, repainted every minute.
#pragma once

#include "almanac/PhaseInputs.h"
#include "platform/HandleOwners.h"
#include "platform/Window.h"
#include "render/GLTarget.h"

#include <GL/gl.h>

class IlluminationView : public Window {
public:
    explicit IlluminationView(const PhaseInputs& inputs) : inputs_(inputs) {}
    bool create(HWND parent, int x, int y, int size);

protected:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool onCreate() override;
    void onDestroy() override;
    bool onEraseBackground(HDC) override;
    void onTimer(UINT_PTR id) override;
    void onSize(int width, int height, UINT kind) override;

private:
    void paint();
    // Multiplies the Earth's shadow of the instant over the Moon drawn; false when there is none.
    bool drawLunarEclipse();

    PhaseInputs inputs_;
    WindowDC dc_;
    GLTarget target_;
    GLuint sphere_ = 0, face_ = 0, shadow_ = 0;
    int width_ = 1, height_ = 1;
};
