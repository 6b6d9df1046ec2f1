// The Win32 owners do what their names promise against the real system calls.
#include "platform/HandleOwners.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

TEST(HandleOwners, SelectedObjectPutsTheReplacedOneBackOnceItGoes) {
    const MemoryDC dc = MemoryDC::CompatibleWithScreen();
    ASSERT_TRUE(dc);
    const HGDIOBJ original = GetCurrentObject(dc.get(), OBJ_BITMAP);
    const GdiBitmap bitmap(CreateCompatibleBitmap(dc.get(), 4, 4));
    ASSERT_TRUE(bitmap);
    {
        SelectedObject selection(dc.get(), bitmap.get());
        EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BITMAP), bitmap.get());
        {
            const SelectedObject moved = std::move(selection);
        }
        EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BITMAP), original) << "restored by the owner it moved to";
    }
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BITMAP), original) << "the emptied source restores nothing";
}

TEST(HandleOwners, ContextMadeNotCurrentAndCountedWhenItGoes) {
    HWND window = CreateWindowExA(0, "Static", "", WS_POPUP, 0, 0, 16, 16, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    {
        const WindowDC dc(window);
        EXPECT_EQ(dc.window(), window);
        PIXELFORMATDESCRIPTOR pfd = {sizeof pfd, 1, PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER,
                                     PFD_TYPE_RGBA, 24};
        const int format = ChoosePixelFormat(dc.get(), &pfd);
        ASSERT_TRUE(format != 0 && SetPixelFormat(dc.get(), format, &pfd));
        const int live = LiveGLContexts();
        GLContext context = GLContext::CreateFor(dc.get());
        ASSERT_TRUE(context);
        EXPECT_EQ(LiveGLContexts(), live + 1);
        ASSERT_TRUE(wglMakeCurrent(dc.get(), context.get()));
        context.reset();
        EXPECT_EQ(wglGetCurrentContext(), nullptr);
        EXPECT_EQ(LiveGLContexts(), live);
    }
    DestroyWindow(window);
}

}  // namespace
