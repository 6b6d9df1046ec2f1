// The screen saver's preview in Windows' display settings: its picture, stretched over a child
// of the window it is given. No OpenGL: the little monitor must cost nothing.
#pragma once

#include "platform/Window.h"

class PreviewWindow : public Window {
public:
    bool create(HWND parent);

protected:
    void onDestroy() override;
    bool onEraseBackground(HDC) override;
    void onPaint(HDC dc) override;
};
