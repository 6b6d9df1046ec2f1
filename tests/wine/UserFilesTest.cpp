// Where an installed copy keeps each user's files: only under the user's application data
// folders (here a profile named outside any code page), never in the program's folder; an
// earlier install's options are taken over and kept; the clock, the saver and the almanac work
// from a folder of any name.
#include "EarthClockFixture.h"

#include "platform/WideText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>

namespace {

constexpr wchar_t kShellFolders[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
const char kProfile[] = "C:\\users\\\xCE\xA9 \xE6\x97\xA5\xE6\x9C\xAC";          // "Ω 日本"
const char kProgramFolderName[] = "Sol van\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC";    // "Sol vané 日本"
const std::vector<std::string> kInstalledFiles = {"solvane.exe", "SVShared.dll", "cheby", "svsaver.scr",
                                                  "solvane-almanac.exe", "solvane-render.exe"};

std::wstring ShellFolder(const wchar_t* name) {
    wchar_t value[MAX_PATH] = L"";
    DWORD size = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, kShellFolders, name, RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND,
                     nullptr, value, &size) != ERROR_SUCCESS) {
        return L"";
    }
    return value;
}

void SetShellFolder(const wchar_t* name, const std::wstring& path) {
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, kShellFolders, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
    RegSetValueExW(key, name, 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                   DWORD((path.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

void SetAppPath(const std::string& program) {
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Kelbrook\\Solvane\\Registration", 0, nullptr, 0,
                    KEY_SET_VALUE, nullptr, &key, nullptr);
    const std::wstring path = WideFromUtf8(program);
    RegSetValueExW(key, L"AppPath", 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                   DWORD((path.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}


// Every file of a folder with its size and a checksum of its contents.
std::map<std::string, std::string> Contents(const std::string& dir) {
    std::map<std::string, std::string> files;
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW(WideFromUtf8(dir + "\\*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return files;
    do {
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        const std::string name = Utf8FromWide(std::wstring(entry.cFileName));
        uint64_t hash = 14695981039346656037ull;  // FNV-1a
        const std::vector<char> bytes = ReadBinaryFile(dir + "\\" + name);
        for (char c : bytes) hash = (hash ^ uint8_t(c)) * 1099511628211ull;
        files[name] = std::to_string(bytes.size()) + " bytes, " + std::to_string(hash);
    } while (FindNextFileW(find, &entry));
    FindClose(find);
    return files;
}

// An installed copy in a folder named outside the code page, for a user whose application data
// folders lie in a profile of such a name too (the shell's folders redirected for the test).
class UserFiles : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(CountProcesses("solvane.exe"), 0);
        roamingBefore_ = ShellFolder(L"AppData");
        localBefore_ = ShellFolder(L"Local AppData");
        RemoveFolder(kProfile);
        CreateDirectoryW(WideFromUtf8(kProfile).c_str(), nullptr);
        CreateDirectoryW(WideFromUtf8(roaming()).c_str(), nullptr);
        CreateDirectoryW(WideFromUtf8(local()).c_str(), nullptr);
        SetShellFolder(L"AppData", WideFromUtf8(roaming()));
        SetShellFolder(L"Local AppData", WideFromUtf8(local()));
        options = QuietOptions();
    }
    void TearDown() override {
        if (HWND hidden = FindWindowA(nullptr, "Solvane Hidden Window")) PostMessageA(hidden, WM_COMMAND, ID_APP_EXIT, 0);
        WaitUntil([] { return CountProcesses("solvane.exe") == 0; }, 15000);
        SetShellFolder(L"AppData", roamingBefore_);
        SetShellFolder(L"Local AppData", localBefore_);
        RemoveFolder(kProfile);
    }
    static std::string roaming() { return std::string(kProfile) + "\\Roaming"; }
    static std::string local() { return std::string(kProfile) + "\\Local"; }
    static std::string ownOptions() { return roaming() + "\\Solvane\\user.bin"; }
    static std::string ownWallpaper() { return local() + "\\Solvane\\Solvane.bmp"; }

    // Starts the clock and waits until it runs; Shut Down ends it.
    void start() {
        program = std::make_unique<RunningProgram>(folder.path("solvane.exe"));
        hidden = WaitForStartedProgram(30000);
        ASSERT_NE(hidden, nullptr);
    }
    void stop() {
        PostMessageA(hidden, WM_COMMAND, ID_APP_EXIT, 0);
        ASSERT_TRUE(program->waitForExit(15000));
        EXPECT_EQ(program->exitCode(), 0u);
    }

    InstallFolder folder{kInstalledFiles, Layout::Installed, kProgramFolderName};
    UserOptions options;
    std::unique_ptr<RunningProgram> program;
    HWND hidden = nullptr;

private:
    std::wstring roamingBefore_, localBefore_;
};

// Start with the log of failures switched on in a settings file with a line it cannot read
// (reported once, the rest counts), a wallpaper, the Lunar Phases window, a changed setting
// saved, exit: the options, the log and the wallpaper are the user's, and not one byte of the
// program's folder has changed.
TEST_F(UserFiles, ASessionWritesOnlyTheUsersFolders) {
    const auto programFiles = Contents(folder.dir());
    ASSERT_EQ(programFiles.size(), kInstalledFiles.size());
    options.wallpaperEnabled = 1;
    options.wallpaperFullDesktop = 0;
    options.wallpaperWidth = 320;
    options.wallpaperHeight = 200;
    CreateDirectoryW(WideFromUtf8(roaming() + "\\Solvane").c_str(), nullptr);
    ASSERT_TRUE(WriteOptions(ownOptions(), options));
    const std::string settings = "; made by hand\r\n[Diagnostics]\r\nLog = 1\r\nnot a setting\r\n";
    ASSERT_TRUE(WriteBinaryFile(roaming() + "\\Solvane\\Solvane.ini", {settings.begin(), settings.end()}));
    program = std::make_unique<RunningProgram>(folder.path("solvane.exe"));
    HWND warning = WaitForWindow("Warning", 30000, "#32770");
    ASSERT_NE(warning, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return StaticTextHolding(warning, "Solvane.ini and skipped them: 4.") != ""; }, 5000));
    KeepScreenshot(SettledCapture(warning), "settings-file-line-skipped.bmp");
    PostMessageA(warning, WM_COMMAND, IDOK, 0);
    hidden = WaitForStartedProgram(30000);
    ASSERT_NE(hidden, nullptr);
    const std::vector<char> log = ReadBinaryFile(local() + "\\Solvane\\Solvane.log");
    EXPECT_NE(std::string(log.begin(), log.end()).find("The log of failures begins."), std::string::npos);

    EXPECT_TRUE(WaitUntil([] { return ReadBinaryFile(ownWallpaper()).size() == 54u + 320 * 200 * 3; }, 60000));
    EXPECT_TRUE(WaitUntil([] { return DesktopWallpaperPath() == ownWallpaper(); }, 10000)) << DesktopWallpaperPath();
    PostMessageA(hidden, WM_COMMAND, ID_MOON_PHASES, 0);
    EXPECT_NE(WaitForWindow("Lunar Phases", 20000), nullptr);
    PostMessageA(hidden, WM_COMMAND, ID_EARTH_CLOCK, 0);
    HWND frame = WaitForWindow(nullptr, 20000, "SolvaneEarthFrame");
    ASSERT_NE(frame, nullptr);
    MoveWindow(frame, 61, 47, 620, 520, TRUE);  // the window's place is saved at exit
    ASSERT_NO_FATAL_FAILURE(stop());

    EXPECT_EQ(ReadOptions(ownOptions()).frameLeft, 61);
    EXPECT_EQ(Contents(folder.dir()), programFiles);
    SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, const_cast<wchar_t*>(L""), SPIF_UPDATEINIFILE);
}

// The yellow of a place's marker that `after` shows and `before` did not, near the middle of the
// view (the home, where a view over the home looks).
int NewMarkerPixelsInTheMiddle(const Capture& before, const Capture& after) {
    int count = 0;
    for (int y = after.height / 2 - 60; y < after.height / 2 + 60; ++y) {
        for (int x = after.width / 2 - 60; x < after.width / 2 + 60; ++x) {
            const uint8_t* p = after.at(x, y);
            const uint8_t* q = before.at(x, y);
            const bool yellow = p[2] > 200 && p[1] > 170 && p[0] < 120;
            const bool wasYellow = q[2] > 200 && q[1] > 170 && q[0] < 120;
            count += yellow && !wasYellow;
        }
    }
    return count;
}

// The pixels of `after` brighter than in `before` (by 24 or more over the three colours).
int BrighterPixels(const Capture& before, const Capture& after) {
    int count = 0;
    for (int y = 0; y < after.height; ++y) {
        for (int x = 0; x < after.width; ++x) {
            const uint8_t* p = after.at(x, y);
            const uint8_t* q = before.at(x, y);
            count += p[0] + p[1] + p[2] >= q[0] + q[1] + q[2] + 24;
        }
    }
    return count;
}

// A settings file written by hand, with a place at the home, the places hidden, a key and a line
// the clock does not know and a place it cannot take: the two lines are reported once; showing
// the places (the place's marker appears over the home), and hiding them again, writes that one
// choice back and keeps every other line as it stands. The twilight bands, switched on, brighten
// the twilight on the globe and are written beside the places' choice.
TEST_F(UserFiles, TheSettingsFileIsReadAndWrittenBackAsTheUserLeftIt) {
    options.viewpoint = kViewOverHome;
    options.displayFlags &= ~kHighlightHome;
    options.timeDisplay = kTimeNone;  // the globe alone changes
    options.homeLatitude = 51.75f;
    options.homeLongitude = 19.46667f;
    CreateDirectoryW(WideFromUtf8(roaming() + "\\Solvane").c_str(), nullptr);
    ASSERT_TRUE(WriteOptions(ownOptions(), options));
    const std::string path = roaming() + "\\Solvane\\Solvane.ini";
    const auto fileText = [&] {
        const std::vector<char> bytes = ReadBinaryFile(path);
        return std::string(bytes.begin(), bytes.end());
    };
    const auto writeFile = [&](const std::string& text) { return WriteBinaryFile(path, {text.begin(), text.end()}); };
    const std::string place =
        "[Place1]\r\nName=Łódź\r\nLatitude=51.75\r\nLongitude=19.46667\r\nTimeZone=Central European Standard Time\r\n";
    const std::string broken = "[Place2]\r\nName=Nowhere\r\nLatitude=north\r\nLongitude=0\r\nTimeZone=UTC\r\n";
    ASSERT_TRUE(writeFile("; made by hand\r\n[Display]\r\nShowPlaces=0\r\n" + place + "Note=family\r\nnot a setting\r\n" +
                          broken));

    program = std::make_unique<RunningProgram>(folder.path("solvane.exe"));
    HWND warning = WaitForWindow("Warning", 30000, "#32770");
    ASSERT_NE(warning, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return StaticTextHolding(warning, "Solvane.ini and skipped them: 10, 13.") != ""; }, 5000));
    PostMessageA(warning, WM_COMMAND, IDOK, 0);
    hidden = WaitForStartedProgram(30000);
    ASSERT_NE(hidden, nullptr);
    PostMessageA(hidden, WM_COMMAND, ID_EARTH_CLOCK, 0);
    HWND frame = WaitForWindow(nullptr, 20000, "SolvaneEarthFrame");
    ASSERT_NE(frame, nullptr);
    HWND view = FindWindowExA(frame, nullptr, "SolvaneEarthView", nullptr);
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return GlobeShown(view); }, 30000));
    const Capture hiddenPlaces = SettledCapture(view);

    PostMessageA(hidden, WM_COMMAND, ID_SHOW_WORLD_PLACES, 0);
    const std::string shown = "; made by hand\r\n[Display]\r\nShowPlaces=1\r\n" + place + "Note=family\r\nnot a setting\r\n" + broken;
    EXPECT_TRUE(WaitUntil([&] { return fileText() == shown; }, 10000)) << fileText();
    Capture shownPlaces;
    EXPECT_TRUE(WaitUntil([&] {
        shownPlaces = CaptureWindow(view);
        return NewMarkerPixelsInTheMiddle(hiddenPlaces, shownPlaces) >= 8;
    }, 10000)) << "the marker of Łódź over the home";
    KeepScreenshot(shownPlaces, "earth-clock-places.bmp");

    PostMessageA(hidden, WM_COMMAND, ID_SHOW_WORLD_PLACES, 0);
    std::string expected = shown;
    expected.replace(expected.find("ShowPlaces=1"), 12, "ShowPlaces=0");
    EXPECT_TRUE(WaitUntil([&] { return fileText() == expected; }, 10000)) << fileText();
    EXPECT_TRUE(WaitUntil([&] { return NewMarkerPixelsInTheMiddle(hiddenPlaces, CaptureWindow(view)) == 0; }, 10000))
        << "no marker once switched off";

    const Capture withoutBands = SettledCapture(view);
    PostMessageA(hidden, WM_COMMAND, ID_TWILIGHT_BANDS, 0);
    expected.replace(expected.find("ShowPlaces=0"), 12, "ShowPlaces=0\r\nTwilightBands=1");
    EXPECT_TRUE(WaitUntil([&] { return fileText() == expected; }, 10000)) << fileText();
    Capture withBands;
    EXPECT_TRUE(WaitUntil([&] {
        withBands = CaptureWindow(view);
        return BrighterPixels(withoutBands, withBands) >= 200;
    }, 10000)) << "the twilight brightened";
    KeepScreenshot(withBands, "earth-clock-twilight-bands.bmp");
    EXPECT_EQ(FindWindowA("#32770", "Warning"), nullptr) << "reported once, and no save failed";
    ASSERT_NO_FATAL_FAILURE(stop());
    EXPECT_EQ(fileText(), expected);
}

// An earlier version kept user.bin beside itself: the first start copies it to the user's
// folder and takes its settings; the original stays for the PC's other users.
TEST_F(UserFiles, AnEarlierInstallsOptionsAreTakenOverAndKept) {
    options.frameLeft = 123;
    options.viewpoint = 5;
    ASSERT_TRUE(WriteOptions(folder.path("user.bin"), options));
    const std::vector<char> earlier = ReadBinaryFile(folder.path("user.bin"));
    ASSERT_NO_FATAL_FAILURE(start());
    ASSERT_NO_FATAL_FAILURE(stop());
    const UserOptions taken = ReadOptions(ownOptions());
    EXPECT_EQ(taken.frameLeft, 123);
    EXPECT_EQ(taken.viewpoint, 5);
    EXPECT_EQ(ReadBinaryFile(folder.path("user.bin")), earlier);
}

// The saver, told of the clock's folder through AppPath, and the almanac beside the clock read
// the user's options (a home in Sydney) and the ephemeris from the folder of that name; the
// render program writes where its argument says.
TEST_F(UserFiles, TheSaverAndTheAlmanacWorkFromAFolderOfAnyName) {
    options.homeLatitude = -33.87f;
    options.homeLongitude = 151.21f;
    CreateDirectoryW(WideFromUtf8(roaming() + "\\Solvane").c_str(), nullptr);
    ASSERT_TRUE(WriteOptions(ownOptions(), options));

    const ConsoleRun run = RunConsoleProgram(folder.path("solvane-almanac.exe"),
                                             "--utc 2026-12-08T14:00:00 --tz-bias 300 --json");
    ASSERT_EQ(run.exitCode, 0u) << run.errors;
    const std::size_t at = run.output.find("\"localSiderealTime\": ");
    ASSERT_NE(at, std::string::npos) << run.output;
    const double expected = std::fmod(19.156259830429917 + 151.21 / 15, 24);
    EXPECT_NEAR(std::strtod(run.output.c_str() + at + 21, nullptr), expected, 1e-4) << "Sydney's sidereal time";
    const std::string picture = std::string(kProfile) + "\\\xCE\xA9.bmp";
    const ConsoleRun render = RunConsoleProgram(folder.path("solvane-render.exe"), "--size 64x48 --out \"" + picture + "\"");
    EXPECT_EQ(render.exitCode, 0u) << render.errors;
    EXPECT_EQ(ReadBinaryFile(picture).size(), 54u + 64 * 48 * 3);

    SetAppPath(folder.path("solvane.exe"));
    RunningProgram saver(folder.path("svsaver.scr"), "/s");
    HWND window = WaitForSaverWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return GlobeShown(window); }, 30000)) << "the Earth from the clock's files";
    EXPECT_TRUE(EndSaverWithAKey(window, saver));
    DeleteRegistryValue(HKEY_LOCAL_MACHINE, "Software\\Kelbrook\\Solvane\\Registration", "AppPath");
}

}  // namespace
