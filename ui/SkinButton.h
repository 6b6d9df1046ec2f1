// A push button drawn from a strip of three faces (normal, pressed, hover) in the program's
// bitmaps. It shows the hover face while the mouse is over it and is never erased first. The
// button is owner-drawn: its parent hands WM_DRAWITEM to draw().
#pragma once

#include "platform/HandleOwners.h"
#include "ui/SkinGeometry.h"

#include <windows.h>

class SkinButton {
public:
    SkinButton() = default;
    ~SkinButton();
    SkinButton(const SkinButton&) = delete;
    SkinButton& operator=(const SkinButton&) = delete;

    // Takes over a dialog's owner-drawn button, with faces from strip `bitmapId`.
    bool attach(HWND button, int bitmapId);
    // Makes an owner-drawn button child of `parent` with its top-left corner at (x, y).
    bool create(HWND parent, const char* caption, int x, int y, int id, int bitmapId);
    // Loads the face strip for the button's DPI and sizes the button to one face, about the
    // middle of its place.
    bool LoadFaces(int bitmapId);
    // The button moved to a monitor of another DPI: its faces and shield are loaded anew.
    void dpiChanged();
    // Draws the face for the item's state: pressed, hovered, dimmed when disabled, with a focus
    // rectangle when it has the keyboard focus.
    void draw(const DRAWITEMSTRUCT& item) const;

    // Shows the shield that says pressing the button asks for an administrator's permission.
    void setShield(bool shown);

    HWND hwnd() const { return hwnd_; }
    bool hover() const { return hover_; }

private:
    static LRESULT CALLBACK subclassProcedure(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam, UINT_PTR id, DWORD_PTR self);
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void followMouse(UINT message, LPARAM lParam);
    LRESULT dialogCode() const;
    bool over(LPARAM point) const;
    void setHover(bool hover);
    void detach();

    HWND hwnd_ = nullptr;
    GdiBitmap strip_;
    int facesId_ = 0;
    FaceStrip faces_ = {0, 0};
    bool hover_ = false;
    bool tracking_ = false;
    bool default_ = false;  // the dialog's default push button (Enter presses it)
    IconHandle shield_;  // a copy of the system's, destroyed with the button
};
