#include "saver/PreviewWindow.h"

#include "platform/Resources.h"

#include "saver/SaverResources.h"

namespace {

const char kClassName[] = "SolvaneSaverPreview";

}  // namespace

bool PreviewWindow::create(HWND parent) {
    if (!registerClass(kClassName, 0)) return false;
    RECT client;
    GetClientRect(parent, &client);
    return Window::create(0, kClassName, "", WS_CHILD | WS_VISIBLE, 0, 0, client.right, client.bottom, parent);
}

void PreviewWindow::onDestroy() { PostQuitMessage(0); }

LRESULT PreviewWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd(), &ps);
        RECT client;
        GetClientRect(hwnd(), &client);
        DrawResourceBitmap(dc, IDB_SAVER_PREVIEW, 0, 0, client.right, client.bottom);
        EndPaint(hwnd(), &ps);
        return 0;
    }
    }
    return Window::handleMessage(message, wParam, lParam);
}
