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

bool PreviewWindow::onEraseBackground(HDC) { return true; }

void PreviewWindow::onPaint(HDC dc) {
    RECT client;
    GetClientRect(hwnd(), &client);
    DrawResourceBitmap(dc, IDB_SAVER_PREVIEW, 0, 0, client.right, client.bottom);
}
