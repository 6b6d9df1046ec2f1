// The real svsaver.scr beside a real solvane.exe that has run once: full screen, its settings,
// its preview in a window of this test, and what it does when the clock's files are wrong.
#include "EarthClockFixture.h"

#include "app/OptionsStore.h"
#include "platform/Win32Registry.h"
#include "render/ViewContext.h"
#include "render/ViewPalette.h"
#include "saver/PreviewWindow.h"
#include "saver/SaverResources.h"

#include <gtest/gtest.h>

#include <psapi.h>

#include <algorithm>
#include <cmath>
#include <set>

namespace {

constexpr char kKey[] = "Software\\Kelbrook\\Solvane\\Registration";

HWND SaverWindow() { return FindWindowA("WindowsScreenSaverClass", nullptr); }

bool HasLoaded(HANDLE process, const char* library) {
    HMODULE modules[512];
    DWORD bytes = 0;
    if (!EnumProcessModulesEx(process, modules, sizeof modules, &bytes, LIST_MODULES_ALL)) return false;
    for (DWORD i = 0; i < std::min<DWORD>(bytes / sizeof(HMODULE), 512); ++i) {
        char name[MAX_PATH] = "";
        GetModuleBaseNameA(process, modules[i], name, sizeof name);
        if (_stricmp(name, library) == 0) return true;
    }
    return false;
}

class ScreenSaver : public EarthClockTest {
protected:
    void SetUp() override {
        EarthClockTest::SetUp();
        ASSERT_EQ(CountProcesses("svsaver.scr"), 0);
        // The saver runs from a folder of its own, as from the system's: it finds the clock's
        // files only through the folder the clock records.
        ASSERT_TRUE(CopyFileA((DistFolder() + "\\svsaver.scr").c_str(), saverFolder.path("svsaver.scr").c_str(), FALSE));
        options.viewpoint = kViewFromSun;  // the lit side in the middle
        options.timeDisplay = kTimeUtc;
        // The clock runs once: it records its folder (as installed clocks do: the folder is
        // trusted) and writes user.bin.
        trust = Trust::Trusted;
        start();
        stop();
        stored = ReadBinaryFile(folder.path("user.bin"));
        ASSERT_EQ(stored.size(), sizeof(UserOptions));
    }
    void TearDown() override { DeleteRegistryValue(HKEY_LOCAL_MACHINE, kKey, "AppPath"); }
    // The saver, trusting the clock's folder as an installed clock's, or as wine reads it.
    std::unique_ptr<RunningProgram> saver(const std::string& arguments, Trust folderTrust = Trust::Trusted) {
        return std::make_unique<RunningProgram>(saverFolder.path("svsaver.scr"), arguments, Rights::AsTest, folderTrust);
    }
    // The message box with `caption` the saver shows, answered with OK.
    static bool Dismiss(const char* caption) {
        HWND box = WaitForWindow(caption, 15000, "#32770");
        if (box == nullptr) return false;
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        return WaitUntil([&] { return !IsWindow(box); }, 5000);
    }
    std::vector<char> stored;
    InstallFolder saverFolder{{}};
};

// Where the screen shows the time's green text.
std::vector<bool> TimeGlyphs(const Capture& c) {
    std::vector<bool> glyphs(c.bgra.size() / 4);
    for (std::size_t i = 0; i < glyphs.size(); ++i) {
        const uint8_t* p = &c.bgra[i * 4];
        glyphs[i] = p[1] > 150 && p[0] < 100 && p[2] < 100;
    }
    return glyphs;
}

// The Earth over the whole screen: lit pixels in the middle, the time in green.
bool EarthShown(HWND window) {
    const Capture c = CaptureWindow(window);
    if (c.width < 200 || c.height < 200) return false;
    int lit = 0, green = 0;
    for (int y = c.height / 2 - 50; y < c.height / 2 + 50; ++y) {
        for (int x = c.width / 2 - 50; x < c.width / 2 + 50; ++x) lit += c.at(x, y)[0] + c.at(x, y)[1] + c.at(x, y)[2] > 90;
    }
    const std::vector<bool> glyphs = TimeGlyphs(c);
    green = int(std::count(glyphs.begin(), glyphs.end(), true));
    return lit > 2000 && green > 80;
}

TEST_F(ScreenSaver, CoversTheScreenWithTheEarthAndEndsOnAKeyOrAMouseMove) {
    auto run = saver("/s");
    HWND window = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (window = SaverWindow()) != nullptr && IsWindowVisible(window); }, 20000));
    RECT r;
    GetWindowRect(window, &r);
    EXPECT_EQ(r.right - r.left, GetSystemMetrics(SM_CXVIRTUALSCREEN));
    EXPECT_EQ(r.bottom - r.top, GetSystemMetrics(SM_CYVIRTUALSCREEN));
    ASSERT_TRUE(WaitUntil([&] { return EarthShown(window); }, 20000)) << "the Earth and the time";
    EXPECT_TRUE(HasLoaded(run->process(), "SVShared.dll")) << "the maps from the clock's folder";
    // The seconds move on as the clock's second turns, not at some moment of its own (a timer
    // counted from the saver's start would show each second up to a second late).
    int soonAfterTheTurn = 0;
    for (int i = 0; i < 3; ++i) {
        const std::vector<bool> shownTime = TimeGlyphs(CaptureWindow(window));
        ASSERT_TRUE(WaitUntil([&] { return TimeGlyphs(CaptureWindow(window)) != shownTime; }, 5000))
            << "the seconds move on";
        SYSTEMTIME now;
        GetSystemTime(&now);
        soonAfterTheTurn += now.wMilliseconds < 400;
    }
    EXPECT_EQ(soonAfterTheTurn, 3);
    EXPECT_TRUE(EarthShown(window)) << "the Earth stays under the new time";
    KeepScreenshot(CaptureWindow(window), "screen-saver.bmp");
    EXPECT_NE(FindWindowExA(window, nullptr, "SVSaver2002", "SVGlobe"), nullptr);
    BOOL running = FALSE;
    SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0);
    EXPECT_TRUE(running) << "Windows is told a screen saver runs";
    // Within the grace period a nudge of the mouse is forgiven; after it a key ends the saver.
    ASSERT_TRUE(EndSaverWithAKey(window, *run, 10000)) << "a key ends the saver";
    EXPECT_EQ(run->exitCode(), 0u);

    // The clock's folder is not trusted now: the saver loads no code from it, and draws the Earth
    // without its maps.
    SetCursorPos(300, 300);
    run = saver("/s", Trust::AsRead);
    ASSERT_TRUE(WaitUntil([&] { return (window = SaverWindow()) != nullptr && IsWindowVisible(window); }, 20000));
    ASSERT_TRUE(WaitUntil([&] { return GlobeShown(window); }, 20000));
    EXPECT_FALSE(HasLoaded(run->process(), "SVShared.dll"));
    KeepScreenshot(CaptureWindow(window), "screen-saver-untrusted-folder.bmp");
    WaitForClockSeconds(2);
    MoveMouse(window, 303, 302);  // a few pixels: a resting mouse
    EXPECT_FALSE(run->waitForExit(1500)) << "a twitch of the mouse does not end the saver";
    int step = 0;
    ASSERT_TRUE(WaitUntil([&] {
        ++step;
        MoveMouse(window, 300 + 20 * (step % 2), 300);
        return run->waitForExit(300);
    }, 10000)) << "a mouse move ends the saver";
    EXPECT_EQ(ReadBinaryFile(folder.path("user.bin")), stored) << "user.bin is the clock's, untouched";
}

// The saver's own choice on, the clock's settings file naming a place: its yellow marker shows.
TEST_F(ScreenSaver, MarksTheWorldPlacesWhereItsSettingsChooseThem) {
    const std::string ini = "[Place1]\r\nName=Łódź\r\nLatitude=51.75\r\nLongitude=19.46667\r\n"
                            "TimeZone=Central European Standard Time\r\nShow=1\r\n";
    ASSERT_TRUE(WriteBinaryFile(folder.path("Solvane.ini"), std::vector<char>(ini.begin(), ini.end())));
    Win32Registry registry;
    ASSERT_TRUE(registry.setString(RegistryRoot::CurrentUser, "Software\\Kelbrook\\Solvane\\Screen Saver", "ShowPlaces", "1", true));
    UserOptions options = ReadOptions(folder.path("user.bin"));
    options.viewpoint = kViewOverHome;
    options.homeLatitude = 52.2f;
    options.homeLongitude = 21.0f;
    options.displayFlags &= ~kHighlightHome;
    ASSERT_TRUE(WriteOptions(folder.path("user.bin"), options));
    auto run = saver("/s");
    HWND window = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (window = SaverWindow()) != nullptr && IsWindowVisible(window); }, 20000));
    EXPECT_TRUE(WaitUntil([&] { return MarkerPixels(CaptureWindow(window)) >= 12; }, 20000)) << "the marker of Łódź";
    KeepScreenshot(CaptureWindow(window), "screen-saver-places.bmp");
    registry.deleteValue(RegistryRoot::CurrentUser, "Software\\Kelbrook\\Solvane\\Screen Saver", "ShowPlaces");
    ASSERT_TRUE(EndSaverWithAKey(window, *run, 10000));
}

TEST_F(ScreenSaver, SettingsCloseWithCloseEscapeAndTheCloseBox) {
    for (int way = 0; way < 3; ++way) {
        auto run = saver(way == 0 ? "" : "/c");
        HWND dialog = WaitForWindow("Solvane Screen Saver", 15000, "#32770");
        ASSERT_NE(dialog, nullptr);
        if (way == 0) {
            ASSERT_TRUE(WaitUntilIdle(dialog));
            KeepScreenshot(SettledCapture(dialog), "screen-saver-settings.bmp");
            const std::vector<std::string> texts = StaticTexts(dialog);
            EXPECT_NE(std::find(texts.begin(), texts.end(), "Version " SOLVANE_VERSION_TEXT), texts.end())
                << "the one version of the build";
            // The picture whole, at 229 x 123, inside its frame.
            HWND picture = GetDlgItem(dialog, IDC_SAVER_PICTURE);
            RECT inner, outer;
            GetClientRect(picture, &inner);
            EXPECT_EQ(inner.right, 229);
            EXPECT_EQ(inner.bottom, 123);
            GetWindowRect(picture, &inner);
            GetWindowRect(GetDlgItem(dialog, IDC_SAVER_PICTURE_FRAME), &outer);
            EXPECT_TRUE(outer.left < inner.left && outer.top < inner.top && outer.right > inner.right &&
                        outer.bottom > inner.bottom);
            // And shown, not painted over: its middle row holds many colours.
            const Capture shown = CaptureWindow(picture);
            std::set<uint32_t> colours;
            for (int x = 0; x < shown.width; ++x) {
                const uint8_t* p = shown.at(x, shown.height / 2);
                colours.insert(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16);
            }
            EXPECT_GT(colours.size(), 20u) << "the picture itself";
            RECT close;
            GetWindowRect(GetDlgItem(dialog, IDOK), &close);
            EXPECT_GE(close.top, outer.bottom) << "the frame clear of Close";
            PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), LPARAM(GetDlgItem(dialog, IDOK)));
        } else if (way == 1) {
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);  // what Escape sends
        } else {
            PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        EXPECT_TRUE(run->waitForExit(10000)) << way;
    }
}

// Wine does not show what one process draws in a window of another, so the preview's picture
// is looked at in this process, and the real saver's preview for what can be seen from here.
TEST_F(ScreenSaver, PreviewIsAChildOfTheGivenWindowWithoutOpenGL) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "SaverPreviewParent";
    RegisterClassA(&wc);
    HWND parent = CreateWindowExA(0, "SaverPreviewParent", "", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 50, 50, 152,
                                  112, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    auto run = saver("/p " + std::to_string(reinterpret_cast<uintptr_t>(parent)));
    HWND preview = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (preview = GetWindow(parent, GW_CHILD)) != nullptr; }, 15000));
    RECT inner;
    GetClientRect(preview, &inner);
    EXPECT_EQ(inner.right, 152);
    EXPECT_EQ(inner.bottom, 112);
    ASSERT_TRUE(WaitUntilIdle(preview));
    // No Earth view (the saver's only OpenGL window) anywhere: not in the preview, not full screen.
    EXPECT_EQ(GetWindow(preview, GW_CHILD), nullptr);
    EXPECT_EQ(FindWindowA("SVSaver2002", nullptr), nullptr);
    EXPECT_EQ(SaverWindow(), nullptr) << "nothing full screen";
    DestroyWindow(parent);
    EXPECT_TRUE(run->waitForExit(10000)) << "the preview ends with its window";
    UnregisterClassA("SaverPreviewParent", GetModuleHandleA(nullptr));
}

TEST(SaverPreviewInProcess, ThePictureFillsTheWindow) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    wc.lpszClassName = "SaverPreviewParentHere";
    RegisterClassA(&wc);
    HWND parent = CreateWindowExA(0, "SaverPreviewParentHere", "", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 50, 50,
                                  304, 224, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    {
        PreviewWindow preview;
        ASSERT_TRUE(preview.create(parent));
        UpdateWindow(preview.hwnd());
        const Capture c = SettledCapture(parent);
        KeepScreenshot(c, "screen-saver-preview.bmp");
        int grey = 0;
        for (size_t i = 0; i < c.bgra.size(); i += 4) grey += c.bgra[i] == 128 && c.bgra[i + 1] == 128 && c.bgra[i + 2] == 128;
        EXPECT_LT(grey, 50) << "the picture covers the window, stretched to its size";
        const uint8_t* middle = c.at(152, 92);  // the globe's lit middle, twice the picture's size
        EXPECT_GT(middle[0] + middle[1] + middle[2], 150);
        DestroyWindow(preview.hwnd());
    }
    MSG message;  // the preview's end asks this thread to quit: take that back
    PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    DestroyWindow(parent);
    UnregisterClassA("SaverPreviewParentHere", GetModuleHandleA(nullptr));
}

// Wine offers no palette-based format: whichever format a view gets, no palette is made and
// the window's DC keeps the default one. (The palette's colours are tested on the host.)
TEST(ScreenSaverPalette, NoneForTheFormatsWineOffers) {
    HPALETTE defaultPalette = static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE));
    for (bool hardware : {false, true}) {
        HWND window = CreateWindowExA(0, "Static", "", WS_POPUP, 0, 0, 64, 64, nullptr, nullptr,
                                      GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(window, nullptr);
        HDC dc = GetDC(window);
        {
            GLTarget target;
            ASSERT_NE(CreateViewContext(target, dc, hardware), nullptr) << hardware;
            GdiPalette palette = RealizeFormatPalette(target, dc);
            EXPECT_FALSE(palette) << hardware;
            EXPECT_EQ(GetCurrentObject(dc, OBJ_PAL), defaultPalette) << hardware;
            ReleaseFormatPalette(dc, palette);
            target.destroy();
        }
        ReleaseDC(window, dc);
        DestroyWindow(window);
    }
}

TEST_F(ScreenSaver, ImpossibleStoredValuesStillShowTheEarth) {
    UserOptions odd = ReadOptions(folder.path("user.bin"));
    odd.viewpoint = kViewOverHome;  // the view drawn from the home itself
    odd.homeLatitude = NAN;
    odd.homeLongitude = NAN;
    odd.timeDisplay = 77;
    odd.displayFlags &= ~kShowNightShadow;  // the globe lit all over, at any hour at home
    ASSERT_TRUE(WriteOptions(folder.path("user.bin"), odd));
    const std::vector<char> written = ReadBinaryFile(folder.path("user.bin"));
    auto run = saver("/s");
    HWND window = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (window = SaverWindow()) != nullptr && IsWindowVisible(window); }, 20000));
    HWND earth = FindWindowExA(window, nullptr, "SVSaver2002", nullptr);
    ASSERT_NE(earth, nullptr);
    EXPECT_TRUE(WaitUntil([&] {
        const Capture c = CaptureWindow(earth);  // the globe's middle, not only the time display
        int lit = 0;
        for (int y = c.height / 2 - 50; y < c.height / 2 + 50; ++y) {
            for (int x = c.width / 2 - 50; x < c.width / 2 + 50; ++x) lit += c.at(x, y)[0] + c.at(x, y)[1] + c.at(x, y)[2] > 60;
        }
        return lit > 2000;
    }, 20000)) << "not black";
    KeepScreenshot(CaptureWindow(window), "screen-saver-odd-options.bmp");
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(run->waitForExit(10000)) << "no crash";
    EXPECT_EQ(run->exitCode(), 0u);
    EXPECT_EQ(ReadBinaryFile(folder.path("user.bin")), written);
}

TEST_F(ScreenSaver, ADamagedOrMissingClockIsExplained) {
    // A user.bin a byte short: the warning, then the Earth with the saver's defaults.
    std::vector<char> shortFile = stored;
    shortFile.pop_back();
    ASSERT_TRUE(WriteBinaryFile(folder.path("user.bin"), shortFile));
    auto run = saver("/s");
    ASSERT_TRUE(Dismiss("Warning")) << "User Options file corrupt";
    HWND window = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (window = SaverWindow()) != nullptr && IsWindowVisible(window); }, 20000));
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(run->waitForExit(10000));
    EXPECT_EQ(ReadBinaryFile(folder.path("user.bin")), shortFile) << "left as it was";

    // No AppPath: the saver cannot find the clock, says so and ends.
    DeleteRegistryValue(HKEY_LOCAL_MACHINE, kKey, "AppPath");
    run = saver("/s");
    EXPECT_TRUE(Dismiss("Can't find Solvane"));
    EXPECT_TRUE(run->waitForExit(10000));
    EXPECT_EQ(SaverWindow(), nullptr);
}

}  // namespace
