// A dialog's group box drawn as a rounded double outline, its padded caption cutting the
// outlines on the body's colour.
#pragma once

#include <windows.h>

class RoundedGroupBox {
public:
    RoundedGroupBox() = default;
    ~RoundedGroupBox();
    RoundedGroupBox(const RoundedGroupBox&) = delete;
    RoundedGroupBox& operator=(const RoundedGroupBox&) = delete;

    // Takes over the group box `groupBox` and paints it from now on.
    bool attach(HWND groupBox);
    HWND hwnd() const { return hwnd_; }

private:
    static LRESULT CALLBACK subclassProcedure(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam, UINT_PTR id, DWORD_PTR self);
    void paint();

    HWND hwnd_ = nullptr;
};
