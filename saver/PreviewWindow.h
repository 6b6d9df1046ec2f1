// The screen saver's preview in Windows' display settings: its picture, stretched over a child
// of the window it is given. No OpenGL: the little monitor must cost nothing.
#pragma once

#include "platform/Window.h"

class PreviewWindow : public Window {
public:
    bool create(HWND parent);

protected:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void onDestroy() override;
};
