// The wallpaper generator of the real solvane.exe: the bitmap beside the program, the desktop
// wallpaper pointing at it, the Moon phases in the corners, renewals after display changes, and
// exit while it renders.
#include "ProgramHarness.h"

#include "app/UserOptions.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

UserOptions WallpaperOptions() {
    UserOptions o;
    SetDefaultOptions(o);
    o.hideSplash = 1;
    o.startWithWindows = 0;
    o.wallpaperEnabled = 1;
    o.wallpaperFullDesktop = 0;
    o.wallpaperWidth = 800;
    o.wallpaperHeight = 600;
    return o;
}

void WriteOptions(const InstallFolder& folder, const UserOptions& o) {
    const char* bytes = reinterpret_cast<const char*>(&o);
    ASSERT_TRUE(WriteBinaryFile(folder.path("user.bin"), std::vector<char>(bytes, bytes + sizeof o)));
}

int Brightness(const std::vector<char>& bmp, int x, int yFromTop) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(&bmp[54 + (size_t(599 - yFromTop) * 800 + x) * 3]);
    return p[0] + p[1] + p[2];
}

TEST(Wallpaper, WrittenBesideAPortableProgramAndSetOnTheDesktop) {
    ASSERT_EQ(CountProcesses("solvane.exe"), 0);
    InstallFolder folder;
    WriteOptions(folder, WallpaperOptions());
    RunningProgram program(folder.path("solvane.exe"));
    const std::string bitmap = folder.path("Solvane.bmp");
    ASSERT_TRUE(WaitUntil([&] { return ReadBinaryFile(bitmap).size() == 1440054u; }, 30000));
    EXPECT_TRUE(WaitUntil([&] { return DesktopWallpaperPath() == bitmap; }, 10000)) << DesktopWallpaperPath();
    const std::vector<char> bmp = ReadBinaryFile(bitmap);
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_GT(Brightness(bmp, 400, 300), 0) << "the globe";
    // The upper-left Moon icon sits at (0.1 w, 0.8 h from the bottom).
    int icon = 0;
    for (int y = 100; y < 140; ++y) for (int x = 60; x < 100; ++x) icon += Brightness(bmp, x, y) > 30;
    EXPECT_GT(icon, 40) << "a Moon-phase icon";
    EXPECT_TRUE(TemporaryFilesOf(bitmap).empty());
    KeepFileAsScreenshot(bitmap, "wallpaper.bmp");

    // A change of the displays renews it within seconds, once for the messages of one change;
    // so do waking from sleep and unlocking.
    const auto written = [&] {
        WIN32_FILE_ATTRIBUTE_DATA data = {};
        GetFileAttributesExA(bitmap.c_str(), GetFileExInfoStandard, &data);
        return (uint64_t(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
    };
    const uint64_t first = written();
    HWND hidden = FindWindowA(nullptr, "Solvane Hidden Window");
    for (int i = 0; i < 2; ++i) PostMessageA(hidden, WM_DISPLAYCHANGE, 32, MAKELPARAM(1280, 1024));
    ASSERT_TRUE(WaitUntil([&] { return written() != first; }, 15000)) << "renewed after a display change";
    const uint64_t second = written();
    EXPECT_FALSE(WaitUntil([&] { return written() != second; }, 5000)) << "the two messages made one renewal";
    PostMessageA(hidden, WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
    EXPECT_TRUE(WaitUntil([&] { return written() != second; }, 15000)) << "renewed after a wake-up";
    const uint64_t third = written();
    PostMessageA(hidden, WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK, 0);
    EXPECT_TRUE(WaitUntil([&] { return written() != third; }, 15000)) << "renewed after an unlock";

    PostMessageA(hidden, WM_COMMAND, ID_APP_EXIT, 0);
    ASSERT_TRUE(program.waitForExit(15000));
}

TEST(Wallpaper, ExitWhileRenderingStillSavesTheOptions) {
    ASSERT_EQ(CountProcesses("solvane.exe"), 0);
    InstallFolder folder;
    UserOptions o = WallpaperOptions();
    o.wallpaperFullDesktop = 1;
    WriteOptions(folder, o);
    RunningProgram program(folder.path("solvane.exe"));
    HWND hidden = WaitForWindow("Solvane Hidden Window", 20000);
    ASSERT_NE(hidden, nullptr);
    ASSERT_TRUE(DeleteFileA(folder.path("user.bin").c_str()));
    const DWORD start = GetTickCount();
    PostMessageA(hidden, WM_COMMAND, ID_APP_EXIT, 0);
    ASSERT_TRUE(program.waitForExit(15000));
    EXPECT_LT(GetTickCount() - start, 10000u);
    EXPECT_EQ(ReadBinaryFile(folder.path("user.bin")).size(), 488u);
}

// Exit while a large picture is being written: the write is abandoned at once, the previous
// picture stays whole and no unfinished file is left.
TEST(Wallpaper, ExitAbandonsALargePictureBeingWritten) {
    ASSERT_EQ(CountProcesses("solvane.exe"), 0);
    InstallFolder folder;
    UserOptions o = WallpaperOptions();
    o.wallpaperWidth = 16384;
    o.wallpaperHeight = 8192;  // a 403 MB file
    WriteOptions(folder, o);
    const std::vector<char> previous(1000, 'p');  // stands for the last picture
    ASSERT_TRUE(WriteBinaryFile(folder.path("Solvane.bmp"), previous));
    RunningProgram program(folder.path("solvane.exe"));
    HWND hidden = WaitForWindow("Solvane Hidden Window", 20000);
    ASSERT_NE(hidden, nullptr);
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    ASSERT_TRUE(WaitUntil([&] {
        const std::vector<std::string> unfinished = TemporaryFilesOf(folder.path("Solvane.bmp"));
        return unfinished.size() == 1 &&
               GetFileAttributesExA(unfinished[0].c_str(), GetFileExInfoStandard, &data) && data.nFileSizeLow > 0;
    }, 120000)) << "the write begins";
    PostMessageA(hidden, WM_COMMAND, ID_APP_EXIT, 0);
    ASSERT_TRUE(program.waitForExit(15000));
    EXPECT_EQ(ReadBinaryFile(folder.path("Solvane.bmp")), previous);
    EXPECT_TRUE(TemporaryFilesOf(folder.path("Solvane.bmp")).empty());
}

}  // namespace
