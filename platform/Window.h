// A window whose messages arrive at virtual member functions.
#pragma once

#include <windows.h>

// Takes the queued copies of `message` for `window` off the queue, so that a burst is handled
// once. A WM_QUIT, which a filtered PeekMessage returns as well, is put back.
void DropQueuedCopies(HWND window, UINT message);

// Tab, Enter, Escape and mnemonics as in a dialog, for a top-level window made of controls:
// the message loop hands the keys of such a window (and its children) to IsDialogMessage.
void RouteDialogKeys(HWND window, bool on);
// True when `message` was a key of such a window, and handled.
bool TranslateDialogKeys(MSG& message);

class Window {
public:
    Window() = default;
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND hwnd() const { return hwnd_; }

    // Registers a window class whose messages reach the Window that owns the handle.
    static bool registerClass(const char* className, UINT style = 0,
                              HBRUSH background = nullptr, HICON icon = nullptr);
    bool create(DWORD exStyle, const char* className, const char* title, DWORD style, int x,
                int y, int width, int height, HWND parent = nullptr, HMENU menu = nullptr);
    void destroy();

protected:
    // The dispatcher: the common messages, decoded, to the named handlers below; everything
    // else to the default procedure. A window's own messages come here first.
    virtual LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT defaultProcedure(UINT message, WPARAM wParam, LPARAM lParam);

    virtual bool onCreate() { return true; }  // false makes creation fail
    virtual void onDestroy() {}
    virtual bool onCommand(UINT) { return false; }  // true when handled
    // Between BeginPaint and EndPaint.
    virtual void onPaint(HDC) {}
    // True when the background is done (or needs nothing); false lets the class brush erase.
    virtual bool onEraseBackground(HDC) { return false; }
    virtual void onTimer(UINT_PTR) {}
    // The client area's new size; `kind` is SIZE_RESTORED, SIZE_MINIMIZED, SIZE_MAXIMIZED...
    virtual void onSize(int, int, UINT) {}
    virtual void onMove() {}
    // Shown, hidden, minimised, restored, moved or raised (before the size and move notices).
    virtual void onPlacementChanged() {}
    // A right click or the menu key; `at` is on the screen (from the keyboard: where the mouse
    // is). True when handled; else a child passes it on to its parent.
    virtual bool onContextMenu(POINT) { return false; }
    // An owner-drawn control of this window; true when drawn.
    virtual bool onDrawItem(const DRAWITEMSTRUCT&) { return false; }
    // The smallest size the user may drag the window to at `dpi`; {0, 0}: the system's.
    virtual SIZE minimumTrackSize(UINT) const { return {0, 0}; }
    // On a monitor of another DPI the window takes placeForDpi (the place Windows suggests,
    // unless the window knows better), then lays its own contents out for `dpi`.
    virtual RECT placeForDpi(const RECT& suggested) const { return suggested; }
    virtual void onDpiLayout(UINT) {}
    // The window is gone; the object may delete itself here.
    virtual void onFinalMessage() {}

private:
    // Size, place and DPI: true when handled, with `result` the answer.
    bool decodePlacement(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void paint();
    static POINT ContextMenuPoint(LPARAM lParam);
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam);
    HWND hwnd_ = nullptr;
};
