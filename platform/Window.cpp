#include "platform/Window.h"

#include "platform/Dpi.h"
#include "platform/FailureTrace.h"

#include <windowsx.h>

void DropQueuedCopies(HWND window, UINT message) {
    MSG queued;
    while (PeekMessageA(&queued, window, message, message, PM_REMOVE)) {
        if (queued.message == WM_QUIT) {
            PostQuitMessage(int(queued.wParam));
            return;
        }
    }
}

namespace {
const char kDialogKeys[] = "SolvaneDialogKeys";
}

void RouteDialogKeys(HWND window, bool on) {
    if (on) {
        SetPropA(window, kDialogKeys, HANDLE(1));
    } else {
        RemovePropA(window, kDialogKeys);
    }
}

bool TranslateDialogKeys(MSG& message) {
    if (message.hwnd == nullptr || message.message < WM_KEYFIRST || message.message > WM_KEYLAST) return false;
    HWND top = GetAncestor(message.hwnd, GA_ROOT);
    return top != nullptr && GetPropA(top, kDialogKeys) != nullptr && IsDialogMessageA(top, &message);
}

Window::~Window() { destroy(); }

bool Window::registerClass(const char* className, UINT style, HBRUSH background, HICON icon) {
    WNDCLASSEXA windowClass = {sizeof(windowClass)};
    windowClass.style = style;
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = background;
    windowClass.hIcon = icon;
    windowClass.lpszClassName = className;
    if (RegisterClassExA(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS) return true;
    TraceFailure(std::string("RegisterClassEx ") + className);
    return false;
}

bool Window::create(DWORD exStyle, const char* className, const char* title, DWORD style, int x,
                    int y, int width, int height, HWND parent, HMENU menu) {
    if (CreateWindowExA(exStyle, className, title, style, x, y, width, height, parent, menu,
                        GetModuleHandleA(nullptr), this) != nullptr) {
        return true;
    }
    TraceFailure(std::string("CreateWindowEx ") + className);
    return false;
}

void Window::destroy() {
    if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

LRESULT Window::defaultProcedure(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd_, message, wParam, lParam);
}

bool Window::decodePlacement(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = 0;
    switch (message) {
    case WM_SIZE:
        onSize(LOWORD(lParam), HIWORD(lParam), UINT(wParam));
        return true;
    case WM_MOVE:
        onMove();
        return true;
    case WM_WINDOWPOSCHANGED:
        onPlacementChanged();
        return false;  // the default procedure sends the size and move notices
    case WM_GETMINMAXINFO: {
        const SIZE minimum = minimumTrackSize(WindowDpi(hwnd_));
        if (minimum.cx <= 0 && minimum.cy <= 0) return false;
        reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {minimum.cx, minimum.cy};
        return true;
    }
    case WM_DPICHANGED: {
        const RECT r = placeForDpi(*reinterpret_cast<const RECT*>(lParam));
        SetWindowPos(hwnd_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
        onDpiLayout(HIWORD(wParam));
        return true;
    }
    }
    return false;
}

void Window::paint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd_, &paint);
    onPaint(dc);
    EndPaint(hwnd_, &paint);
}

POINT Window::ContextMenuPoint(LPARAM lParam) {
    POINT at = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (at.x == -1 && at.y == -1) GetCursorPos(&at);  // from the keyboard
    return at;
}

LRESULT Window::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result;
    if (decodePlacement(message, wParam, lParam, result)) return result;
    switch (message) {
    case WM_CREATE:
        return onCreate() ? 0 : -1;
    case WM_DESTROY:
        onDestroy();
        return 0;
    case WM_COMMAND:
        if (onCommand(LOWORD(wParam))) return 0;
        break;
    case WM_PAINT:
        paint();
        return 0;
    case WM_ERASEBKGND:
        if (onEraseBackground(reinterpret_cast<HDC>(wParam))) return 1;
        break;
    case WM_TIMER:
        onTimer(wParam);
        return 0;
    case WM_CONTEXTMENU:
        if (onContextMenu(ContextMenuPoint(lParam))) return 0;
        break;
    case WM_DRAWITEM:
        if (onDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) return TRUE;
        break;
    }
    return defaultProcedure(message, wParam, lParam);
}

LRESULT CALLBACK Window::windowProcedure(HWND window, UINT message, WPARAM wParam,
                                         LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        self->hwnd_ = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Window*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self == nullptr) return DefWindowProcA(window, message, wParam, lParam);
    LRESULT result = self->handleMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        self->onFinalMessage();
    }
    return result;
}
