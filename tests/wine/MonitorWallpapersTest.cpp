// The wallpaper renewal in this process against a stand-in for the shell's wallpaper object
// (wine has none): three monitors of different sizes, one left of the primary and one reaching
// above it, and one attached but not part of the desktop. Each monitor gets a picture of its own
// size; one picture spans them all when asked; without the shell object one picture of the
// primary's size becomes the classic wallpaper. The desktop's placement changes only where the
// pictures need it, and the user's comes back.
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0602
#include "ProgramHarness.h"

#include "app/ClockState.h"
#include "app/EphemerisFile.h"
#include "app/UserOptions.h"
#include "astro/FixedClock.h"
#include "desktop/WallpaperRenewal.h"
#include "platform/RecursiveLock.h"
#include "platform/WideText.h"
#include "platform/Win32Registry.h"
#include "render/Viewpoint.h"

#include <shobjidl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <set>

namespace {

class FakeDesktopWallpaper : public IDesktopWallpaper {
public:
    struct Monitor {
        std::wstring id;
        RECT rect;
    };
    std::vector<Monitor> monitors;
    std::map<std::wstring, std::wstring> shown;  // monitor ("" for all) -> picture
    DESKTOP_WALLPAPER_POSITION position = DWPOS_FILL;
    int positionsSet = 0;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        *object = iid == IID_IUnknown || iid == IID_IDesktopWallpaper ? this : nullptr;
        return *object != nullptr ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE SetWallpaper(LPCWSTR monitor, LPCWSTR picture) override {
        shown[monitor != nullptr ? monitor : L""] = picture;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetMonitorDevicePathAt(UINT index, LPWSTR* id) override {
        if (index >= monitors.size()) return E_INVALIDARG;
        const size_t bytes = (monitors[index].id.size() + 1) * sizeof(wchar_t);
        *id = static_cast<LPWSTR>(CoTaskMemAlloc(bytes));
        std::memcpy(*id, monitors[index].id.c_str(), bytes);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetMonitorDevicePathCount(UINT* count) override {
        *count = UINT(monitors.size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetMonitorRECT(LPCWSTR id, RECT* rect) override {
        for (const Monitor& m : monitors) {
            if (m.id == id) {
                *rect = m.rect;
                return S_OK;
            }
        }
        return E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE SetPosition(DESKTOP_WALLPAPER_POSITION set) override {
        position = set;
        ++positionsSet;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetPosition(DESKTOP_WALLPAPER_POSITION* shownAs) override {
        *shownAs = position;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetWallpaper(LPCWSTR, LPWSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetBackgroundColor(COLORREF) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetBackgroundColor(COLORREF*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetSlideshow(IShellItemArray*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSlideshow(IShellItemArray**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetSlideshowOptions(DESKTOP_SLIDESHOW_OPTIONS, UINT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSlideshowOptions(DESKTOP_SLIDESHOW_OPTIONS*, UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AdvanceSlideshow(LPCWSTR, DESKTOP_SLIDESHOW_DIRECTION) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetStatus(DESKTOP_SLIDESHOW_STATE*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Enable(WINBOOL) override { return E_NOTIMPL; }
};

struct Bitmap {
    int width = 0, height = 0;
    std::vector<char> bytes;
    // Blue + green + red of the pixel `y` rows from the top.
    int brightness(int x, int y) const {
        const size_t row = (size_t(width) * 3 + 3) / 4 * 4;
        const unsigned char* p = reinterpret_cast<const unsigned char*>(&bytes[54 + (height - 1 - y) * row + x * 3]);
        return p[0] + p[1] + p[2];
    }
};

Bitmap ReadBitmap(const std::string& path) {
    Bitmap b;
    b.bytes = ReadBinaryFile(path);
    if (b.bytes.size() < 54) return b;
    std::memcpy(&b.width, &b.bytes[18], 4);
    std::memcpy(&b.height, &b.bytes[22], 4);
    return b;
}

class MonitorWallpapers : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(OpenEphemerisFile(DistFolder() + "\\cheby"));
        UserOptions options;
        SetDefaultOptions(options);
        AstroState astro = {};
        FixedClock clock(CivilTime{2026, 12, 24, 16, 0, 0, 0}, 0);
        UpdateAstroState(astro, options, clock, true);
        scene_.scene = {astro.julianDate, astro.greenwichSiderealTime, kViewFromSun, 0x559, 2.35f, 48.86f, {}, 0};
        DragOrientation().matrix(scene_.scene.drag);
        scene_.moonPhases = true;
        for (int k = 0; k < 4; ++k) scene_.corners[k] = {k, "Full Moon", "Dec 24"};
        shell_.monitors = {{L"\\\\?\\DISPLAY#LEFT", {-1280, 0, 0, 1024}},
                           {L"\\\\?\\DISPLAY#MIDDLE", {0, 0, 1920, 1080}},
                           {L"\\\\?\\DISPLAY#RIGHT", {1920, -360, 4480, 1080}},
                           {L"\\\\?\\DISPLAY#DETACHED", {0, 0, 0, 0}}};
        folder_ = folderHolder_.dir() + "\\";
        StoreHeldPlacement(registry_, {});
    }
    void TearDown() override { StoreHeldPlacement(registry_, {}); }

    int renew(bool acrossMonitors, IDesktopWallpaper* shell) {
        WallpaperLayout layout;
        layout.acrossMonitors = acrossMonitors;
        return RenewWallpapers(renderer_, scene_, layout, shell, registry_, folder_, lock_, [] { return true; });
    }
    std::string pictureOf(const std::wstring& monitor) { return Utf8FromWide(shell_.shown[monitor]); }

    InstallFolder folderHolder_{{}};
    std::string folder_;
    WallpaperRequest scene_;
    FakeDesktopWallpaper shell_;
    WallpaperRenderer renderer_;
    Win32Registry registry_;
    RecursiveLock lock_;
};

TEST_F(MonitorWallpapers, EachMonitorItsOwnSizeThenOneAcrossAllThenTheClassicWallpaper) {
    // A picture of a monitor that has gone, and a file that is not a picture of ours; the user's
    // wallpaper spans the monitors.
    ASSERT_TRUE(WriteBinaryFile(folder_ + "Solvane-0badf00d.bmp", {'B', 'M'}));
    ASSERT_TRUE(WriteBinaryFile(folder_ + "Solvane-notes.txt", {'x'}));
    shell_.position = DWPOS_SPAN;

    ASSERT_EQ(renew(false, &shell_), 3);
    std::set<std::string> files;
    for (int i = 0; i < 3; ++i) {
        const FakeDesktopWallpaper::Monitor& m = shell_.monitors[i];
        SCOPED_TRACE(Utf8FromWide(m.id));
        const std::string path = pictureOf(m.id);
        EXPECT_EQ(path.rfind(folder_, 0), 0u) << path;
        files.insert(path);
        const Bitmap b = ReadBitmap(path);
        ASSERT_EQ(b.width, m.rect.right - m.rect.left);
        ASSERT_EQ(b.height, m.rect.bottom - m.rect.top);
        EXPECT_GT(b.brightness(b.width / 2, b.height / 2), 60) << "the lit globe in the middle";
        EXPECT_LT(b.brightness(b.width / 2, 2), 30) << "space above it";
    }
    EXPECT_EQ(files.size(), 3u) << "a file for each monitor";
    EXPECT_EQ(shell_.shown.size(), 3u) << "the detached monitor gets none";
    EXPECT_EQ(shell_.position, DWPOS_FILL) << "each picture fills its own monitor: no span";
    EXPECT_EQ(shell_.positionsSet, 1);
    const HeldPlacement held = LoadHeldPlacement(registry_);
    EXPECT_TRUE(held.held && held.users == WallpaperPosition::Span && held.applied == WallpaperPosition::Fill);
    EXPECT_FALSE(PathExists(folder_ + "Solvane-0badf00d.bmp")) << "the gone monitor's picture deleted";
    EXPECT_TRUE(PathExists(folder_ + "Solvane-notes.txt"));

    // Switched off and on again: the user's span comes back, and goes again for the pictures.
    GiveBackWallpaperPlacement(&shell_, registry_);
    EXPECT_EQ(shell_.position, DWPOS_SPAN);
    EXPECT_FALSE(LoadHeldPlacement(registry_).held);
    ASSERT_EQ(renew(false, &shell_), 3);
    EXPECT_EQ(shell_.position, DWPOS_FILL);

    shell_.shown.clear();
    ASSERT_EQ(renew(true, &shell_), 1);
    const Bitmap across = ReadBitmap(pictureOf(L""));
    EXPECT_EQ(across.width, 5760);
    EXPECT_EQ(across.height, 1440);
    EXPECT_EQ(shell_.position, DWPOS_SPAN) << "the user's own span, which one picture across all needs";
    EXPECT_FALSE(LoadHeldPlacement(registry_).held);
    for (const std::string& file : files) EXPECT_FALSE(PathExists(file)) << "the monitors' own pictures deleted";

    // The user's Fit: one picture across all still spans, the classic wallpaper shows fitted.
    shell_.position = DWPOS_FIT;
    ASSERT_EQ(renew(true, &shell_), 1);
    EXPECT_EQ(shell_.position, DWPOS_SPAN);
    const int setBefore = shell_.positionsSet;
    ASSERT_EQ(renew(false, nullptr), 1);
    const Bitmap classic = ReadBitmap(folder_ + "Solvane.bmp");
    EXPECT_EQ(classic.width, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(classic.height, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(DesktopWallpaperPath(), folder_ + "Solvane.bmp");
    EXPECT_EQ(shell_.positionsSet, setBefore) << "without the shell nothing is placed";
    GiveBackWallpaperPlacement(&shell_, registry_);
    EXPECT_EQ(shell_.position, DWPOS_FIT);

    // One monitor: its picture is "Solvane.bmp", shown as the user has it.
    shell_.monitors.resize(1);
    shell_.position = DWPOS_SPAN;
    shell_.shown.clear();
    ASSERT_EQ(renew(false, &shell_), 1);
    EXPECT_EQ(pictureOf(shell_.monitors[0].id), folder_ + "Solvane.bmp");
    EXPECT_EQ(shell_.position, DWPOS_SPAN);
}

}  // namespace

namespace {

// Two monitors alike show the ticking globe alike (it turns once a renewal, not once a picture);
// a renewal that cannot write its picture leaves the monitors' pictures in place.
TEST_F(MonitorWallpapers, OneTurnPerRenewalAndAFailedRenewalKeepsWhatShows) {
    scene_.scene.viewpoint = kViewTickingGlobe;
    shell_.monitors = {{L"\\\\?\\DISPLAY#A", {0, 0, 640, 480}}, {L"\\\\?\\DISPLAY#B", {640, 0, 1280, 480}}};
    ASSERT_EQ(renew(false, &shell_), 2);
    const std::string a = pictureOf(L"\\\\?\\DISPLAY#A"), b = pictureOf(L"\\\\?\\DISPLAY#B");
    ASSERT_NE(a, b);
    EXPECT_EQ(ReadBinaryFile(a), ReadBinaryFile(b)) << "the same view on both";

    ASSERT_TRUE(CreateDirectoryA((folder_ + "Solvane.bmp").c_str(), nullptr)) << "a picture that cannot be written";
    EXPECT_EQ(renew(true, &shell_), 0);
    EXPECT_TRUE(PathExists(a) && PathExists(b)) << "the pictures on the screens stay";
    RemoveDirectoryA((folder_ + "Solvane.bmp").c_str());
}

}  // namespace
