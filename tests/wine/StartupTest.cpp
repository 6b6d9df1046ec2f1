// The real solvane.exe, started in a fresh install folder: options file, registry values,
// single instance, splash and the ways the program ends.
#include "ProgramHarness.h"

#include "app/OptionsStore.h"
#include "app/UserOptions.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

const char kHiddenTitle[] = "Solvane Hidden Window";
const char kSplashClass[] = "SolvaneSplash";
constexpr DWORD kStartTimeoutMs = 20000;
constexpr DWORD kExitTimeoutMs = 15000;

std::vector<char> BytesOf(const UserOptions& options) {
    const char* p = reinterpret_cast<const char*>(&options);
    return std::vector<char>(p, p + sizeof options);
}

UserOptions OptionsFrom(const std::vector<char>& bytes) {
    UserOptions options = {};
    std::memcpy(&options, bytes.data(), std::min(bytes.size(), sizeof options));
    return options;
}

// Defaults with the splash switched off, so that tests do not wait for it.
UserOptions QuietDefaults() {
    UserOptions options;
    SetDefaultOptions(options);
    options.hideSplash = 1;
    options.startWithWindows = 0;
    return options;
}

class Startup : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(CountProcesses("solvane.exe"), 0) << "a solvane.exe from an earlier run";
    }
    std::string exe() const { return folder.path("solvane.exe"); }
    std::string optionsFile() const { return folder.path("user.bin"); }
    void writeOptions(const UserOptions& options) {
        ASSERT_TRUE(WriteBinaryFile(optionsFile(), BytesOf(options)));
    }
    // Sends the framework's exit command and waits for the program to end.
    void shutDown(RunningProgram& program, HWND hidden) {
        PostMessageA(hidden, WM_COMMAND, ID_APP_EXIT, 0);
        ASSERT_TRUE(program.waitForExit(kExitTimeoutMs));
        EXPECT_EQ(program.exitCode(), 0u);
    }
    InstallFolder folder;
};

// AppPath only from a trusted folder (an installed clock's): every user's screen saver loads the
// image library from the folder it names.
TEST_F(Startup, FirstRunWritesDefaultsRunValueAndAppPath) {
    DeleteRegistryValue(HKEY_CURRENT_USER, kRunKeyPath, kRunValueName);
    DeleteRegistryValue(HKEY_LOCAL_MACHINE, kRegistrationKeyPath, kAppPathValueName);
    RunningProgram program(exe(), "", Rights::AsTest, Trust::Trusted);
    ASSERT_TRUE(program.started());
    HWND hidden = WaitForStartedProgram(kStartTimeoutMs);
    ASSERT_NE(hidden, nullptr);
    EXPECT_FALSE(IsWindowVisible(hidden));

    const std::vector<char> stored = ReadBinaryFile(optionsFile());
    ASSERT_EQ(stored.size(), 488u);
    UserOptions expected;
    SetDefaultOptions(expected);
    UserOptions written = OptionsFrom(stored);
    std::memcpy(expected.timeZoneName, written.timeZoneName, sizeof expected.timeZoneName);
    expected.timeZoneBias = written.timeZoneBias;
    EXPECT_EQ(stored, BytesOf(expected));

    std::string run, appPath;
    DWORD type = 0;
    ASSERT_TRUE(ReadRegistryValue(HKEY_CURRENT_USER, kRunKeyPath, kRunValueName, run, &type));
    EXPECT_EQ(type, DWORD(REG_SZ));
    EXPECT_EQ(std::string(run.c_str()), "\"" + exe() + "\"") << "quoted: the path may hold spaces";
    ASSERT_TRUE(ReadRegistryValue(HKEY_LOCAL_MACHINE, kRegistrationKeyPath, kAppPathValueName,
                                  appPath, &type));
    EXPECT_EQ(type, DWORD(REG_SZ));
    ASSERT_EQ(appPath.size(), 260u);
    EXPECT_STREQ(appPath.c_str(), exe().c_str());
    EXPECT_EQ(appPath.find_first_not_of('\0', exe().size()), std::string::npos);
    shutDown(program, hidden);

    // As wine reads the folder (others may change it): the options are saved, AppPath is not.
    DeleteRegistryValue(HKEY_LOCAL_MACHINE, kRegistrationKeyPath, kAppPathValueName);
    DeleteFileA(optionsFile().c_str());
    RunningProgram portable(exe());
    hidden = WaitForStartedProgram(kStartTimeoutMs);
    ASSERT_NE(hidden, nullptr);
    EXPECT_EQ(ReadBinaryFile(optionsFile()).size(), 488u);
    EXPECT_FALSE(ReadRegistryValue(HKEY_LOCAL_MACHINE, kRegistrationKeyPath, kAppPathValueName, appPath, &type));
    shutDown(portable, hidden);
}

TEST_F(Startup, SecondInstanceLeavesOneProcessAndTheFileUntouched) {
    writeOptions(QuietDefaults());
    RunningProgram first(exe());
    HWND hidden = WaitForStartedProgram(kStartTimeoutMs);
    ASSERT_NE(hidden, nullptr);

    // A bias no time zone has: a second instance that loaded and saved would replace it.
    UserOptions marked = OptionsFrom(ReadBinaryFile(optionsFile()));
    marked.timeZoneBias = 12345;
    writeOptions(marked);

    RunningProgram second(exe());
    ASSERT_TRUE(second.started());
    ASSERT_TRUE(second.waitForExit(kExitTimeoutMs));
    EXPECT_EQ(ReadBinaryFile(optionsFile()), BytesOf(marked));
    EXPECT_TRUE(TemporaryFilesOf(optionsFile()).empty());
    EXPECT_TRUE(first.running());
    EXPECT_EQ(CountProcesses("solvane.exe"), 1);
    EXPECT_EQ(FindWindowA(nullptr, kHiddenTitle), hidden);

    shutDown(first, hidden);
}

// Stands in for a running instance: holds the instance mutex and a window with its title,
// and records the commands it receives.
class FakeRunningInstance {
public:
    FakeRunningInstance() {
        mutex_ = CreateMutexA(nullptr, FALSE, kHiddenTitle);
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "FakeSolvaneHidden";
        RegisterClassA(&windowClass);
        window_ = CreateWindowA("FakeSolvaneHidden", kHiddenTitle, WS_OVERLAPPED, 0, 0, 10, 10,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    ~FakeRunningInstance() {
        DestroyWindow(window_);
        CloseHandle(mutex_);
    }
    static std::vector<UINT> commands;

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_COMMAND) commands.push_back(LOWORD(wParam));
        return DefWindowProcA(window, message, wParam, lParam);
    }
    HANDLE mutex_ = nullptr;
    HWND window_ = nullptr;
};
std::vector<UINT> FakeRunningInstance::commands;

TEST_F(Startup, SecondInstanceAsksTheRunningOneForItsEarthClock) {
    FakeRunningInstance running;
    RunningProgram second(exe());
    ASSERT_TRUE(second.started());
    ASSERT_TRUE(WaitUntil([&] { return !second.running(); }, kExitTimeoutMs));
    WaitUntil([] { return !FakeRunningInstance::commands.empty(); }, 2000);
    ASSERT_EQ(FakeRunningInstance::commands, std::vector<UINT>{ID_EARTH_CLOCK});
    EXPECT_FALSE(PathExists(optionsFile())) << "a second instance never writes user.bin";
}

TEST_F(Startup, ExitCommandSavesTheOptions) {
    UserOptions options = QuietDefaults();
    options.viewpoint = 9;  // kept as it is, however odd
    writeOptions(options);
    RunningProgram program(exe());
    HWND hidden = WaitForStartedProgram(kStartTimeoutMs);
    ASSERT_NE(hidden, nullptr);
    ASSERT_TRUE(DeleteFileA(optionsFile().c_str()));

    shutDown(program, hidden);
    const std::vector<char> saved = ReadBinaryFile(optionsFile());
    ASSERT_EQ(saved.size(), 488u);
    EXPECT_EQ(OptionsFrom(saved).viewpoint, 9);
    EXPECT_EQ(OptionsFrom(saved).hideSplash, 1);
}

TEST_F(Startup, EndOfSessionSavesTheOptions) {
    writeOptions(QuietDefaults());
    RunningProgram program(exe());
    HWND hidden = WaitForStartedProgram(kStartTimeoutMs);
    ASSERT_NE(hidden, nullptr);
    ASSERT_TRUE(DeleteFileA(optionsFile().c_str()));

    DWORD_PTR result = 0;
    SendMessageTimeoutA(hidden, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_BLOCK,
                        kExitTimeoutMs, &result);
    EXPECT_EQ(ReadBinaryFile(optionsFile()).size(), 488u);
    ASSERT_TRUE(program.waitForExit(kExitTimeoutMs));
    EXPECT_EQ(program.exitCode(), 0u);
}

TEST_F(Startup, CorruptFileShowsTheWarningAndIsReplaced) {
    std::vector<char> corrupt = BytesOf(QuietDefaults());
    corrupt.push_back('x');  // 489 bytes
    ASSERT_TRUE(WriteBinaryFile(optionsFile(), corrupt));
    RunningProgram program(exe());

    HWND warning = WaitForWindow("Warning", kStartTimeoutMs, "#32770");
    ASSERT_NE(warning, nullptr);
    EXPECT_TRUE(WaitUntil([&] {
        const std::vector<std::string> texts = StaticTexts(warning);
        return std::find(texts.begin(), texts.end(),
                         "User Options file corrupt, resetting to defaults") != texts.end();
    }, 5000));
    PostMessageA(warning, WM_COMMAND, IDOK, 0);

    HWND hidden = WaitForStartedProgram(kStartTimeoutMs);
    ASSERT_NE(hidden, nullptr);
    const std::vector<char> replaced = ReadBinaryFile(optionsFile());
    ASSERT_EQ(replaced.size(), 488u);
    EXPECT_EQ(OptionsFrom(replaced).hideSplash, 0) << "the defaults replaced the corrupt file";
    shutDown(program, hidden);
}

TEST_F(Startup, SplashShowsCentredAndGoesAfterAMoment) {
    UserOptions options = QuietDefaults();
    options.hideSplash = 0;
    writeOptions(options);
    RunningProgram program(exe());
    HWND splash = WaitForWindow(nullptr, kStartTimeoutMs, kSplashClass);
    ASSERT_NE(splash, nullptr);
    RECT bounds = {};
    GetWindowRect(splash, &bounds);
    EXPECT_EQ(bounds.right - bounds.left, 640);
    EXPECT_EQ(bounds.bottom - bounds.top, 480);
    RECT work = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_NEAR((bounds.left + bounds.right) / 2, (work.left + work.right) / 2, 1);
    EXPECT_NEAR((bounds.top + bounds.bottom) / 2, (work.top + work.bottom) / 2, 1);

    EXPECT_TRUE(WaitUntil([&] { return FindWindowA(kSplashClass, nullptr) == nullptr; }, 5000));
    shutDown(program, FindWindowA(nullptr, kHiddenTitle));
}

TEST_F(Startup, NoSplashWhenHidden) {
    writeOptions(QuietDefaults());
    RunningProgram program(exe());
    HWND hidden = WaitForStartedProgram(kStartTimeoutMs);
    ASSERT_NE(hidden, nullptr);
    EXPECT_EQ(FindWindowA(kSplashClass, nullptr), nullptr);
    shutDown(program, hidden);
}

}  // namespace

namespace {

TEST(StartupWithoutEphemeris, TellsTheUserAndEnds) {
    ASSERT_EQ(CountProcesses("solvane.exe"), 0);
    InstallFolder folder({"solvane.exe", "SVShared.dll"});
    RunningProgram program(folder.path("solvane.exe"));
    HWND box = WaitForWindow("WARNING", 20000, "#32770");
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(WaitUntil([&] {
        const std::vector<std::string> texts = StaticTexts(box);
        return std::find(texts.begin(), texts.end(), "Could not find Ephemeris File!") != texts.end();
    }, 5000));
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(program.waitForExit(15000));
    EXPECT_EQ(program.exitCode(), 1u);
}

}  // namespace

namespace {

// The earth clock stays in the notification area: closing it hides it, the tray icon brings
// it back, and with startInTrayOnly it starts hidden.
TEST(TrayIcon, ShowsTheHiddenEarthClock) {
    ASSERT_EQ(CountProcesses("solvane.exe"), 0);
    InstallFolder folder;
    UserOptions options = QuietDefaults();
    options.startInTrayOnly = 1;
    const char* bytes = reinterpret_cast<const char*>(&options);
    ASSERT_TRUE(WriteBinaryFile(folder.path("user.bin"), std::vector<char>(bytes, bytes + sizeof options)));
    RunningProgram program(folder.path("solvane.exe"));
    HWND hidden = WaitForStartedProgram(kStartTimeoutMs);
    ASSERT_NE(hidden, nullptr);
    HWND clock = WaitForWindow(nullptr, kStartTimeoutMs, "SolvaneEarthFrame");
    ASSERT_NE(clock, nullptr);
    EXPECT_FALSE(IsWindowVisible(clock)) << "only the tray icon at start";
    const UINT trayMessage = RegisterWindowMessageA("Kelbrook Solvane");
    PostMessageA(hidden, trayMessage, trayMessage, WM_LBUTTONDOWN);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(clock) != FALSE; }, 5000));
    // Closing reminds the user where the program lives on, until told not to.
    PostMessageA(clock, WM_CLOSE, 0, 0);
    HWND reminder = WaitForDialogWith(IDC_DONT_TELL_AGAIN);
    ASSERT_NE(reminder, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return GetDlgItem(reminder, IDC_DONT_TELL_AGAIN) != nullptr; }, 5000));
    SendMessageA(GetDlgItem(reminder, IDC_DONT_TELL_AGAIN), BM_SETCHECK, BST_CHECKED, 0);
    PostMessageA(reminder, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(clock); }, 5000)) << "closing hides it";
    EXPECT_TRUE(program.running());
    PostMessageA(hidden, WM_COMMAND, ID_EARTH_CLOCK, 0);  // what a second start asks for
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(clock) != FALSE; }, 5000));
    // The tray menu's Eclipses entry by its access key; the program ends with that window open.
    SetCursorPos(300, 200);
    PostMessageA(hidden, trayMessage, trayMessage, WM_RBUTTONDOWN);
    HWND menu = WaitForWindow(nullptr, 5000, "#32768");
    ASSERT_NE(menu, nullptr);
    KeepScreenshot(SettledCapture(menu), "tray-menu.bmp");
    SendKey('L');
    HWND eclipses = nullptr;
    EXPECT_TRUE(WaitUntil([&] { return (eclipses = FindWindowA(nullptr, "Eclipses")) != nullptr && IsWindowVisible(eclipses); }, 10000));
    PostMessageA(hidden, WM_COMMAND, ID_APP_EXIT, 0);
    EXPECT_TRUE(program.waitForExit(kExitTimeoutMs));
    const std::vector<char> saved = ReadBinaryFile(folder.path("user.bin"));
    ASSERT_EQ(saved.size(), 488u);
    EXPECT_EQ(OptionsFrom(saved).noticeFlags, uint32_t(kNoticeFullScreen)) << "not reminded again";
}

}  // namespace
