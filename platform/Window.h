// A window whose messages arrive at virtual member functions.
#pragma once

#include <windows.h>

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
    // The dispatcher: the named handlers below, everything else to the default procedure.
    virtual LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT defaultProcedure(UINT message, WPARAM wParam, LPARAM lParam);

    virtual bool onCreate() { return true; }  // false makes creation fail
    virtual void onDestroy() {}
    virtual bool onCommand(UINT) { return false; }  // true when handled
    virtual void onPaint(HDC) {}
    virtual void onTimer(UINT_PTR) {}
    // The window is gone; the object may delete itself here.
    virtual void onFinalMessage() {}

private:
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam);
    HWND hwnd_ = nullptr;
};
