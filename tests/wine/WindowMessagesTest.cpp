// The common messages reach a window's typed handlers decoded: a DPI change moves the window to
// the place it chooses and then lays it out for the new DPI; the menu key's context menu comes
// where the mouse is, and a child that leaves it goes to its parent; the smallest size holds.
#include "platform/Window.h"

#include <gtest/gtest.h>

namespace {

const char kClassName[] = "SolvaneTestMessages";

class Recorder : public Window {
public:
    UINT laidOutDpi = 0;
    int menus = 0;
    POINT menuAt = {};
    bool takesMenu = true;

protected:
    RECT placeForDpi(const RECT& suggested) const override {
        RECT r = suggested;
        OffsetRect(&r, 10, 0);
        return r;
    }
    void onDpiLayout(UINT dpi) override { laidOutDpi = dpi; }
    bool onContextMenu(POINT at) override {
        ++menus;
        menuAt = at;
        return takesMenu;
    }
    SIZE minimumTrackSize(UINT) const override { return {300, 200}; }
};

TEST(WindowMessages, DpiChangeContextMenuAndSmallestSizeReachTheTypedHandlers) {
    ASSERT_TRUE(Window::registerClass(kClassName));
    Recorder frame, child;
    child.takesMenu = false;
    ASSERT_TRUE(frame.create(0, kClassName, "", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300));
    ASSERT_TRUE(child.create(0, kClassName, "", WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, frame.hwnd()));

    RECT suggested = {100, 120, 700, 570};
    SendMessageA(frame.hwnd(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    RECT now;
    GetWindowRect(frame.hwnd(), &now);
    EXPECT_EQ(now.left, 110) << "the place the window chose";
    EXPECT_EQ(now.top, 120);
    EXPECT_EQ(now.right - now.left, 600);
    EXPECT_EQ(now.bottom - now.top, 450);
    EXPECT_EQ(frame.laidOutDpi, 144u);

    POINT cursor;
    GetCursorPos(&cursor);
    SendMessageA(child.hwnd(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(child.hwnd()), MAKELPARAM(-1, -1));
    EXPECT_EQ(child.menus, 1);
    EXPECT_EQ(frame.menus, 1) << "the child passes it on";
    EXPECT_EQ(frame.menuAt.x, cursor.x) << "from the keyboard: where the mouse is";
    EXPECT_EQ(frame.menuAt.y, cursor.y);
    SendMessageA(frame.hwnd(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(frame.hwnd()), MAKELPARAM(30, 40));
    EXPECT_EQ(frame.menuAt.x, 30);
    EXPECT_EQ(frame.menuAt.y, 40);

    MINMAXINFO limits = {};
    SendMessageA(frame.hwnd(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    EXPECT_EQ(limits.ptMinTrackSize.x, 300);
    EXPECT_EQ(limits.ptMinTrackSize.y, 200);
}

}  // namespace
