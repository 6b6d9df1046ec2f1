// Solvane-Setup.exe and the uninstaller it writes, run silently as an administrator would:
// files, keys and shortcuts, the installed clock and saver (which keep the user's files in the
// user's folders), an upgrade over a running clock and over planted files, a folder refused,
// and what the uninstaller leaves. Wine keeps no rights on files, so what the folder helper
// gives is checked on the host (InstallFolderRulesTest). They change the wine prefix's
// Program Files, system folder and registry, so they run only in a prefix of their own
// (tools/installer-test.sh sets SOLVANE_SETUP); elsewhere they are skipped.
#include "EarthClockFixture.h"
#include "TrustStandIn.h"

#include "app/OptionsStore.h"
#include "platform/WideText.h"
#include "render/BitmapFile.h"

#include <shlobj.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <future>
#include <set>
#include <thread>

namespace {

constexpr char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Solvane";
constexpr DWORD kSetupTimeoutMs = 120000;
const std::vector<std::string> kProgramFiles = {"solvane.exe",  "solvane-setclock.exe", "SVShared.dll",
                                                "cheby",        "servers.txt",          "USPlaces.bin",
                                                "WorldPlaces.bin", "solvane-almanac.exe", "solvane-render.exe"};

std::string SetupProgram() {
    const char* setup = std::getenv("SOLVANE_SETUP");
    return setup != nullptr ? setup : "";
}

std::string InstallDir() {
    char programs[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, CSIDL_PROGRAM_FILES, nullptr, 0, programs);
    return std::string(programs) + "\\Solvane";
}
std::string Installed(const std::string& name) { return InstallDir() + "\\" + name; }

std::string SystemFolder() {
    char system[MAX_PATH] = "";
    GetSystemDirectoryA(system, MAX_PATH);
    return system;
}
std::string InstalledSaver() { return SystemFolder() + "\\svsaver.scr"; }

// The current user's folder of the clock's options, and of its wallpaper.
std::string UserFolder(int csidl) {
    wchar_t folder[MAX_PATH] = L"";
    SHGetFolderPathW(nullptr, csidl, nullptr, 0, folder);
    return Utf8FromWide(std::wstring(folder)) + "\\Solvane";
}
std::string OwnOptions() { return UserFolder(CSIDL_APPDATA) + "\\user.bin"; }
std::string OwnSettingsFile() { return UserFolder(CSIDL_APPDATA) + "\\Solvane.ini"; }
const std::vector<char> kSettingsFile = {'[', 'H', 'o', 'm', 'e', ']', '\r', '\n'};
std::string OwnWallpaper() { return UserFolder(CSIDL_LOCAL_APPDATA) + "\\Solvane.bmp"; }
void WriteOwnOptions(const UserOptions& options) {
    CreateDirectoryW(WideFromUtf8(UserFolder(CSIDL_APPDATA)).c_str(), nullptr);
    ASSERT_TRUE(WriteOptions(OwnOptions(), options));
}
// A file of the user's in a "help" folder that was in the chosen folder before.
std::string UsersHelpNotes() { return Installed("help\\my notes.txt"); }

std::string ShortcutFolder() {
    char programs[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, CSIDL_COMMON_PROGRAMS, nullptr, 0, programs);
    return std::string(programs) + "\\Solvane";
}

// The file a shortcut points at, or "" when it cannot be read.
std::string ShortcutTarget(const std::string& link) {
    std::string target;
    IShellLinkA* shellLink = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&shellLink)))) {
        return target;
    }
    IPersistFile* file = nullptr;
    if (SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        const std::wstring wide(link.begin(), link.end());
        char path[MAX_PATH] = "";
        if (SUCCEEDED(file->Load(wide.c_str(), STGM_READ)) &&
            SUCCEEDED(shellLink->GetPath(path, MAX_PATH, nullptr, 0))) {
            target = path;
        }
        file->Release();
    }
    shellLink->Release();
    return target;
}

// Names in a folder (recursively, as relative paths), without "." and "..".
void ListFiles(const std::string& dir, const std::string& prefix, std::set<std::string>& names) {
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((dir + "\\*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = entry.cFileName;
        if (name == "." || name == "..") continue;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ListFiles(dir + "\\" + name, prefix + name + "\\", names);
        else names.insert(prefix + name);
    } while (FindNextFileA(find, &entry));
    FindClose(find);
}
std::set<std::string> FilesIn(const std::string& dir) {
    std::set<std::string> names;
    ListFiles(dir, "", names);
    return names;
}

bool SameFile(const std::string& a, const std::string& b) {
    const std::vector<char> bytes = ReadBinaryFile(a);
    return !bytes.empty() && bytes == ReadBinaryFile(b);
}

bool KeyExists(HKEY root, const char* key) {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(root, key, 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
    RegCloseKey(opened);
    return true;
}

std::string StringValue(HKEY root, const char* key, const char* name) {
    std::string bytes;
    if (!ReadRegistryValue(root, key, name, bytes)) return "<missing>";
    return bytes.c_str();  // up to the terminating NUL (AppPath is padded with them)
}

DWORD DwordValue(HKEY root, const char* key, const char* name) {
    std::string bytes;
    DWORD type = 0, value = 0;
    if (ReadRegistryValue(root, key, name, bytes, &type) && type == REG_DWORD && bytes.size() == 4) {
        std::memcpy(&value, bytes.data(), 4);
    }
    return value;
}

void SetStringValue(HKEY root, const char* key, const char* name, const std::string& data) {
    HKEY opened = nullptr;
    ASSERT_EQ(RegCreateKeyExA(root, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &opened, nullptr), ERROR_SUCCESS);
    RegSetValueExA(opened, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.data()), DWORD(data.size()));
    RegCloseKey(opened);
}


// Setup.exe under a debugger thread of the test, which writes into each program Setup starts
// how the folder helper takes the folders above the install folder (wine makes their
// descriptors up as the user's; an administrator's C:\ and Program Files stay). It lets go of
// what still runs when Setup ends; Setup is killed when the object goes.
class SetupRun {
public:
    explicit SetupRun(const std::string& arguments, Trust foldersAbove = Trust::Trusted) {
        std::promise<HANDLE> started;
        std::future<HANDLE> process = started.get_future();
        debugger_ = std::thread([arguments, foldersAbove, started = std::move(started)]() mutable {
            Debug(arguments, foldersAbove == Trust::Trusted, started);
        });
        process_ = process.get();
    }
    ~SetupRun() {
        if (running()) TerminateProcess(process_, 99);
        debugger_.join();
        if (started()) CloseHandle(process_);
    }
    bool started() const { return process_ != nullptr; }
    bool running() { return started() && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }
    DWORD exitCode() {
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(process_, &code);
        return code;
    }

private:
    static void Debug(const std::string& arguments, bool trusted, std::promise<HANDLE>& started) {
        std::wstring commandLine = WideFromUtf8("\"" + SetupProgram() + "\" " + arguments);
        STARTUPINFOW startup = {sizeof startup};
        PROCESS_INFORMATION setup = {};
        if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, DEBUG_PROCESS, nullptr, nullptr,
                            &startup, &setup)) {
            started.set_value(nullptr);
            return;
        }
        CloseHandle(setup.hThread);
        DebugSetProcessKillOnExit(FALSE);  // what Setup started (the clock) outlives the test
        started.set_value(setup.hProcess);
        std::set<DWORD> debugged;  // Setup and what it started (the helper through nsExec's own process)
        for (;;) {
            DEBUG_EVENT event;
            if (!WaitForDebugEvent(&event, INFINITE)) return;
            DWORD status = DBG_CONTINUE;
            if (event.dwDebugEventCode == CREATE_PROCESS_DEBUG_EVENT) {
                const CREATE_PROCESS_DEBUG_INFO& created = event.u.CreateProcessInfo;
                if (created.hFile != nullptr) CloseHandle(created.hFile);
                debugged.insert(event.dwProcessId);
                wchar_t image[MAX_PATH];
                DWORD length = MAX_PATH;
                const uintptr_t place =
                    trusted && QueryFullProcessImageNameW(created.hProcess, 0, image, &length)
                        ? ExportedPlace(Utf8FromWide(std::wstring(image, length)), "SolvaneAncestorsStandIn")
                        : 0;
                const int32_t standIn = 1;
                if (place != 0) WriteProcessMemory(created.hProcess, (char*)created.lpBaseOfImage + place, &standIn, 4, nullptr);
            } else if (event.dwDebugEventCode == LOAD_DLL_DEBUG_EVENT && event.u.LoadDll.hFile != nullptr) {
                CloseHandle(event.u.LoadDll.hFile);
            } else if (event.dwDebugEventCode == EXCEPTION_DEBUG_EVENT &&
                       event.u.Exception.ExceptionRecord.ExceptionCode != EXCEPTION_BREAKPOINT) {
                status = DBG_EXCEPTION_NOT_HANDLED;
            } else if (event.dwDebugEventCode == EXIT_PROCESS_DEBUG_EVENT) {
                debugged.erase(event.dwProcessId);
            }
            ContinueDebugEvent(event.dwProcessId, event.dwThreadId, status);
            if (event.dwDebugEventCode == EXIT_PROCESS_DEBUG_EVENT && event.dwProcessId == setup.dwProcessId) break;
        }
        for (DWORD process : debugged) DebugActiveProcessStop(process);
    }

    std::thread debugger_;
    HANDLE process_ = nullptr;
};

// The wizard window of the installer or uninstaller once its main button reads `label`
// (the page it shows), idle; null when it never does.
HWND WizardAt(const char* caption, const char* label) {
    HWND wizard = nullptr;
    WaitUntil([&] {
        // The caption may carry more after the program's name.
        for (wizard = nullptr; (wizard = FindWindowExA(nullptr, wizard, "#32770", nullptr)) != nullptr;) {
            if (IsWindowVisible(wizard) && WindowText(wizard).rfind(caption, 0) == 0 &&
                WindowText(GetDlgItem(wizard, IDOK)) == label && IsWindowEnabled(GetDlgItem(wizard, IDOK))) {
                return true;
            }
        }
        return false;
    }, 60000);
    return wizard != nullptr && WaitUntilIdle(wizard) ? wizard : nullptr;
}

// Presses the wizard's main button.
void PressMainButton(HWND wizard) {
    PostMessageA(wizard, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), LPARAM(GetDlgItem(wizard, IDOK)));
}

class Installer : public testing::Test {
protected:
    static void SetUpTestSuite() { CoInitialize(nullptr); }
    static void TearDownTestSuite() { CoUninitialize(); }
    void SetUp() override {
        if (SetupProgram().empty()) GTEST_SKIP() << "run by tools/installer-test.sh in a wine prefix of its own";
        ASSERT_EQ(CountProcesses("solvane.exe"), 0);
    }
    void TearDown() override {
        if (SetupProgram().empty()) return;
        // Nothing of a failed test's clock or saver is left for the next test.
        if (HWND hidden = FindWindowA(nullptr, "Solvane Hidden Window")) PostMessageA(hidden, WM_COMMAND, ID_APP_EXIT, 0);
        WaitUntil([] { return CountProcesses("solvane.exe") == 0 && CountProcesses("svsaver.scr") == 0; }, 15000);
    }
    // The silent installer, to its end with status 0.
    static void Install() {
        SetupRun setup("/S");
        ASSERT_TRUE(setup.started());
        ASSERT_TRUE(WaitUntil([&] { return !setup.running(); }, kSetupTimeoutMs));
        ASSERT_EQ(setup.exitCode(), 0u);
    }
    static void EnsureInstalled() {
        if (!PathExists(Installed("uninstall.exe"))) Install();
    }
    // The installed uninstaller, silently. It hands over to a copy of itself outside the folder
    // and ends with status 0 at once; the copy removes the uninstall entry last.
    static void Uninstall() {
        RunningProgram uninstall(Installed("uninstall.exe"), "/S");
        ASSERT_TRUE(uninstall.started());
        ASSERT_TRUE(WaitUntil([&] { return !uninstall.running(); }, kSetupTimeoutMs));
        ASSERT_EQ(uninstall.exitCode(), 0u);
        ASSERT_TRUE(WaitUntil([] { return !KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey); }, kSetupTimeoutMs));
        // Until the copy has gone, too.
        ASSERT_TRUE(WaitUntil([] { return CountProcesses("Un.exe") == 0; }, 30000));
    }
};

TEST_F(Installer, SilentInstallPutsEveryFileKeyAndShortcutInPlace) {
    Install();
    const std::set<std::string> installed = FilesIn(InstallDir());
    for (const std::string& name : kProgramFiles) {
        EXPECT_TRUE(SameFile(Installed(name), DistFolder() + "\\" + name)) << name;
    }
    for (const std::string& page : FilesIn(DistFolder() + "\\help")) {
        EXPECT_EQ(installed.count("help\\" + page), 1u) << page;
    }
    EXPECT_EQ(installed.count("uninstall.exe"), 1u);
    EXPECT_EQ(installed.count("user.bin"), 0u) << "the clock writes it at its first start";
    EXPECT_EQ(installed.count("svsaver.scr"), 0u) << "the saver belongs in the system folder";
    EXPECT_TRUE(SameFile(InstalledSaver(), DistFolder() + "\\svsaver.scr"));

    EXPECT_EQ(StringValue(HKEY_LOCAL_MACHINE, kRegistrationKeyPath, kAppPathValueName), Installed("solvane.exe"));
    EXPECT_EQ(StringValue(HKEY_CURRENT_USER, kRunKeyPath, kRunValueName), "<missing>")
        << "the clock's own setting writes the autostart value";

    EXPECT_EQ(StringValue(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName"), "Solvane");
    EXPECT_EQ(StringValue(HKEY_LOCAL_MACHINE, kUninstallKey, "Publisher"), "Kelbrook");
    EXPECT_EQ(StringValue(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayVersion"), SOLVANE_VERSION_TEXT);
    EXPECT_EQ(StringValue(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayIcon"), Installed("solvane.exe") + ",0");
    EXPECT_EQ(StringValue(HKEY_LOCAL_MACHINE, kUninstallKey, "InstallLocation"), InstallDir());
    EXPECT_EQ(StringValue(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString"), "\"" + Installed("uninstall.exe") + "\"");
    EXPECT_EQ(StringValue(HKEY_LOCAL_MACHINE, kUninstallKey, "QuietUninstallString"),
              "\"" + Installed("uninstall.exe") + "\" /S");
    EXPECT_EQ(DwordValue(HKEY_LOCAL_MACHINE, kUninstallKey, "NoModify"), 1u);
    EXPECT_EQ(DwordValue(HKEY_LOCAL_MACHINE, kUninstallKey, "NoRepair"), 1u);
    // The size in KiB of what was installed: the folder and the saver.
    uint64_t bytes = ReadBinaryFile(InstalledSaver()).size();
    for (const std::string& name : installed) bytes += ReadBinaryFile(Installed(name)).size();
    const double kib = bytes / 1024.0;
    EXPECT_NEAR(DwordValue(HKEY_LOCAL_MACHINE, kUninstallKey, "EstimatedSize"), kib, kib * 0.02 + 4);

    EXPECT_EQ(FilesIn(ShortcutFolder()),
              (std::set<std::string>{"Solvane.lnk", "Solvane Help.lnk", "Uninstall Solvane.lnk"}));
    EXPECT_STRCASEEQ(ShortcutTarget(ShortcutFolder() + "\\Solvane.lnk").c_str(), Installed("solvane.exe").c_str());
    EXPECT_STRCASEEQ(ShortcutTarget(ShortcutFolder() + "\\Solvane Help.lnk").c_str(),
                     Installed("help\\solvane.htm").c_str());
    EXPECT_STRCASEEQ(ShortcutTarget(ShortcutFolder() + "\\Uninstall Solvane.lnk").c_str(),
                     Installed("uninstall.exe").c_str());
}

// Before the clock's first start the saver finds it through the AppPath the installer wrote
// (without it the saver shows a message instead): the Earth full screen.
TEST_F(Installer, TheSaverFindsTheClockBeforeItsFirstStart) {
    EnsureInstalled();
    DeleteFileW(WideFromUtf8(OwnOptions()).c_str());
    RunningProgram saver(InstalledSaver(), "/s");
    HWND window = WaitForSaverWindow();
    ASSERT_NE(window, nullptr);
    RECT r;
    GetWindowRect(window, &r);
    EXPECT_EQ(r.right - r.left, GetSystemMetrics(SM_CXVIRTUALSCREEN));
    EXPECT_TRUE(WaitUntil([&] { return GlobeShown(window); }, 30000)) << "the Earth from the clock's files";
    KeepScreenshot(CaptureWindow(window), "installed-screen-saver.bmp");
    EXPECT_TRUE(EndSaverWithAKey(window, saver));
    EXPECT_FALSE(PathExists(OwnOptions())) << "the saver only reads the options";
    EXPECT_FALSE(PathExists(Installed("user.bin")));
}

// The installed clock keeps its options and wallpaper in the user's folders; the program
// folder holds what the installer put there and nothing else.
TEST_F(Installer, TheInstalledClockWritesOnlyTheUsersFolders) {
    EnsureInstalled();
    const std::set<std::string> installed = FilesIn(InstallDir());
    DeleteFileW(WideFromUtf8(OwnOptions()).c_str());
    {
        RunningProgram clock(Installed("solvane.exe"));
        HWND hidden = WaitForStartedProgram(30000);
        ASSERT_NE(hidden, nullptr);
        EXPECT_TRUE(WaitUntil([] { return ReadBinaryFile(OwnOptions()).size() == sizeof(UserOptions); }, 10000));
        EXPECT_EQ(StringValue(HKEY_CURRENT_USER, kRunKeyPath, kRunValueName), "\"" + Installed("solvane.exe") + "\"");
        PostMessageA(hidden, WM_COMMAND, ID_APP_EXIT, 0);
        ASSERT_TRUE(clock.waitForExit(15000));
        EXPECT_EQ(clock.exitCode(), 0u);
    }
    UserOptions options = QuietOptions();
    options.wallpaperEnabled = 1;
    options.wallpaperFullDesktop = 0;
    options.wallpaperWidth = 800;
    options.wallpaperHeight = 600;
    WriteOwnOptions(options);
    RunningProgram clock(Installed("solvane.exe"));
    EXPECT_TRUE(WaitUntil([] { return ReadBinaryFile(OwnWallpaper()).size() == 54u + 800 * 600 * 3; }, 60000));
    EXPECT_TRUE(WaitUntil([] { return _stricmp(DesktopWallpaperPath().c_str(), OwnWallpaper().c_str()) == 0; }, 10000))
        << DesktopWallpaperPath();
    HWND hidden = WaitForStartedProgram(10000);
    ASSERT_NE(hidden, nullptr);
    PostMessageA(hidden, WM_COMMAND, ID_APP_EXIT, 0);
    ASSERT_TRUE(clock.waitForExit(15000));
    EXPECT_EQ(clock.exitCode(), 0u);
    EXPECT_EQ(FilesIn(InstallDir()), installed);
}

// Installing again touches neither the user's options nor the user's own file in the help
// folder, but deletes what anyone could have put in the folder for Windows to load or run
// (here while an earlier version left it writable), and the portable marker. The earlier
// installation is known by its uninstall entry, not by a file in the folder.
TEST_F(Installer, InstallingAgainKeepsTheUsersFilesAndDeletesWhatWasPlanted) {
    EnsureInstalled();
    UserOptions options = QuietOptions();
    options.viewpoint = 5;
    options.frameLeft = 123;
    WriteOwnOptions(options);
    const std::vector<char> before = ReadBinaryFile(OwnOptions());
    const std::vector<char> mine = {'m', 'i', 'n', 'e'}, planted = {'M', 'Z'};
    ASSERT_TRUE(WriteBinaryFile(UsersHelpNotes(), mine));
    const std::vector<std::string> plantedFiles = {"version.dll", "help\\evil.dll", "help\\run.cmd",
                                                   "solvane.exe.local\\comctl32.dll", "portable"};
    ASSERT_TRUE(CreateDirectoryA(Installed("solvane.exe.local").c_str(), nullptr));
    for (const std::string& name : plantedFiles) ASSERT_TRUE(WriteBinaryFile(Installed(name), planted)) << name;
    ASSERT_TRUE(DeleteFileA(Installed("uninstall.exe").c_str()));

    Install();
    for (const std::string& name : plantedFiles) EXPECT_FALSE(PathExists(Installed(name))) << name;
    EXPECT_EQ(ReadBinaryFile(OwnOptions()), before);
    EXPECT_EQ(ReadBinaryFile(UsersHelpNotes()), mine);
    EXPECT_TRUE(SameFile(Installed("SVShared.dll"), DistFolder() + "\\SVShared.dll"));
    EXPECT_TRUE(PathExists(Installed("uninstall.exe")));
    EXPECT_EQ(CountProcesses("solvane.exe"), 0) << "no clock was running, none is started";
}

// The running clock is ended through its exit command: it saves its options (the file is
// deleted meanwhile, so only that save can bring it back) and ends with status 0. The new
// copy is then started from the install folder.
TEST_F(Installer, UpgradeEndsTheRunningClockWhichSavesAndStartsItAgain) {
    EnsureInstalled();
    UserOptions options = QuietOptions();
    options.frameLeft = 77;
    WriteOwnOptions(options);
    RunningProgram old(Installed("solvane.exe"));
    ASSERT_NE(WaitForStartedProgram(30000), nullptr);
    ASSERT_TRUE(DeleteFileW(WideFromUtf8(OwnOptions()).c_str()));
    Install();
    ASSERT_TRUE(old.waitForExit(1000)) << "ended before the installer finished";
    EXPECT_EQ(old.exitCode(), 0u);
    EXPECT_EQ(ReadOptions(OwnOptions()).frameLeft, 77);
    HWND hidden = WaitForStartedProgram(30000);
    ASSERT_NE(hidden, nullptr) << "started again";
    EXPECT_EQ(CountProcesses("solvane.exe"), 1);
    PostMessageA(hidden, WM_COMMAND, ID_APP_EXIT, 0);
    EXPECT_TRUE(WaitUntil([] { return CountProcesses("solvane.exe") == 0; }, 15000));
}

// With the clock running and everything it writes in place, the silent uninstaller ends the
// clock and removes all but the user's options and the user's own file in the help folder.
TEST_F(Installer, SilentUninstallLeavesOnlyTheUsersOptionsAndFiles) {
    EnsureInstalled();
    WriteOwnOptions(QuietOptions());
    ASSERT_TRUE(WriteBinaryFile(UsersHelpNotes(), {'m', 'i', 'n', 'e'}));
    RunningProgram clock(Installed("solvane.exe"));
    ASSERT_NE(WaitForStartedProgram(30000), nullptr);
    // What the clock writes as it runs: the autostart value, AppPath padded, the wallpaper; and
    // the wallpaper an earlier version wrote beside itself.
    SetStringValue(HKEY_CURRENT_USER, kRunKeyPath, kRunValueName, Installed("solvane.exe"));
    std::string padded = Installed("solvane.exe");
    padded.resize(kAppPathBytes, '\0');
    SetStringValue(HKEY_LOCAL_MACHINE, kRegistrationKeyPath, kAppPathValueName, padded);
    const uint8_t pixels[4 * 4 * 4] = {};
    ASSERT_TRUE(WriteBitmapFile(OwnWallpaper(), 4, 4, pixels, 16));
    ASSERT_TRUE(WriteBitmapFile(Installed("Solvane.bmp"), 4, 4, pixels, 16));
    ASSERT_TRUE(WriteBinaryFile(OwnSettingsFile(), kSettingsFile));
    // The settings a copy run from the folder kept there.
    ASSERT_TRUE(WriteOptions(Installed("user.bin"), QuietOptions()));
    ASSERT_TRUE(WriteBinaryFile(Installed("Solvane.ini"), kSettingsFile));
    SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, const_cast<char*>(OwnWallpaper().c_str()), SPIF_UPDATEINIFILE);
    // The saver chosen as the desktop's.
    SetStringValue(HKEY_CURRENT_USER, "Control Panel\\Desktop", "SCRNSAVE.EXE", InstalledSaver());

    Uninstall();
    ASSERT_TRUE(clock.waitForExit(1000));
    EXPECT_EQ(clock.exitCode(), 0u);
    EXPECT_EQ(FilesIn(InstallDir()), (std::set<std::string>{"help\\my notes.txt", "Solvane.ini", "user.bin"}))
        << "a silent uninstall keeps the settings in the folder";
    EXPECT_EQ(ReadBinaryFile(OwnOptions()).size(), sizeof(UserOptions)) << "a silent uninstall keeps them";
    EXPECT_EQ(ReadBinaryFile(OwnSettingsFile()), kSettingsFile);
    EXPECT_FALSE(PathExists(OwnWallpaper()));
    EXPECT_FALSE(PathExists(InstalledSaver()));
    EXPECT_FALSE(PathExists(ShortcutFolder()));
    EXPECT_EQ(StringValue(HKEY_CURRENT_USER, kRunKeyPath, kRunValueName), "<missing>");
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, "Software\\Kelbrook"));
    EXPECT_EQ(StringValue(HKEY_CURRENT_USER, "Control Panel\\Desktop", "SCRNSAVE.EXE"), "<missing>");
    EXPECT_STRCASENE(DesktopWallpaperPath().c_str(), OwnWallpaper().c_str());

    DeleteFileA(UsersHelpNotes().c_str());
    DeleteFileA(Installed("user.bin").c_str());
    DeleteFileA(Installed("Solvane.ini").c_str());
    RemoveDirectoryA(Installed("help").c_str());
    RemoveDirectoryA(InstallDir().c_str());
}

// As a user clicks through it: welcome, folder (one of another user's, as wine says of any
// folder the test makes, is refused, saying why, as it is silently, and so is one in a folder
// users could replace), installation, and the finish page whose check box starts the clock.
TEST_F(Installer, PagesInstallAndTheFinishPageStartsTheClock) {
    const std::string othersFolder = "C:\\Solvane of another user", underUsers = "C:\\Solvane under the user's C";
    ASSERT_TRUE(CreateDirectoryA(othersFolder.c_str(), nullptr));
    for (const auto& [folder, trust] : {std::pair(othersFolder, Trust::Trusted), std::pair(underUsers, Trust::AsRead)}) {
        SetupRun silent("/S /D=" + folder, trust);
        ASSERT_TRUE(silent.started());
        ASSERT_TRUE(WaitUntil([&] { return !silent.running(); }, kSetupTimeoutMs));
        EXPECT_NE(silent.exitCode(), 0u) << folder;
        EXPECT_TRUE(FilesIn(folder).empty()) << folder;
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey)) << folder;
    }
    EXPECT_FALSE(PathExists(underUsers));

    SetupRun setup("");
    HWND wizard = WizardAt("Solvane Setup", "&Next >");
    ASSERT_NE(wizard, nullptr) << "the welcome page";
    KeepScreenshot(SettledCapture(wizard), "installer-welcome.bmp");
    PressMainButton(wizard);
    ASSERT_NE(WizardAt("Solvane Setup", "&Install"), nullptr) << "the folder page";
    HWND folderField = FindWindowExA(FindWindowExA(wizard, nullptr, "#32770", nullptr), nullptr, "Edit", nullptr);
    EXPECT_EQ(WindowText(folderField), InstallDir()) << "the page's folder field";
    SetWindowTextA(folderField, othersFolder.c_str());
    PressMainButton(wizard);
    HWND refusal = WaitForDialog([&](HWND w) { return GetWindow(w, GW_OWNER) == wizard; }, 60000);
    ASSERT_NE(refusal, nullptr) << "a message";
    const std::string said = StaticTextHolding(refusal, othersFolder + " already exists and belongs to ");
    EXPECT_NE(said.find("Choose another folder"), std::string::npos) << said;
    KeepScreenshot(SettledCapture(refusal), "installer-folder-refused.bmp");
    PostMessageA(refusal, WM_COMMAND, IDOK, 0);
    ASSERT_NE(WizardAt("Solvane Setup", "&Install"), nullptr) << "still the folder page";
    RemoveDirectoryA(othersFolder.c_str());
    SetWindowTextA(folderField, InstallDir().c_str());
    PressMainButton(wizard);
    ASSERT_NE(WizardAt("Solvane Setup", "&Finish"), nullptr) << "the finish page";
    KeepScreenshot(SettledCapture(wizard), "installer-finish.bmp");
    EXPECT_EQ(CountProcesses("solvane.exe"), 0) << "started only when the page is left";
    PressMainButton(wizard);
    ASSERT_TRUE(WaitUntil([&] { return !setup.running(); }, 30000));
    EXPECT_EQ(setup.exitCode(), 0u);
    HWND hidden = WaitForStartedProgram(30000);
    ASSERT_NE(hidden, nullptr) << "the check box, on by default, starts the clock";
    PostMessageA(hidden, WM_COMMAND, ID_APP_EXIT, 0);
    EXPECT_TRUE(WaitUntil([] { return CountProcesses("solvane.exe") == 0; }, 15000));
}

// Uninstalling from the Start menu asks before deleting the user's options, saying that other
// users' are left alone; answered yes, nothing is left, not even the folders.
TEST_F(Installer, UninstallAsksBeforeDeletingTheUsersOptions) {
    EnsureInstalled();
    WriteOwnOptions(QuietOptions());
    ASSERT_TRUE(WriteBinaryFile(OwnSettingsFile(), kSettingsFile));
    // A copy run from the folder kept its settings file there (and no options record).
    ASSERT_TRUE(WriteBinaryFile(Installed("Solvane.ini"), kSettingsFile));
    RunningProgram uninstall(Installed("uninstall.exe"));
    HWND wizard = WizardAt("Solvane Uninstall", "&Uninstall");
    ASSERT_NE(wizard, nullptr);
    PressMainButton(wizard);
    HWND question = WaitForDialogWith(IDYES, 60000);
    ASSERT_NE(question, nullptr);
    const std::vector<std::string> texts = StaticTexts(question);
    EXPECT_TRUE(std::any_of(texts.begin(), texts.end(), [](const std::string& t) {
        return t.find("Delete your Solvane settings") != std::string::npos &&
               t.find("other users of this PC are left alone") != std::string::npos;
    }));
    EXPECT_TRUE(PathExists(OwnOptions())) << "not deleted before the answer";
    KeepScreenshot(SettledCapture(question), "uninstall-question.bmp");
    PostMessageA(question, WM_COMMAND, IDYES, 0);
    // Then about those in the program's folder.
    HWND folderQuestion = WaitForDialog([&](HWND w) {
        return w != question && GetDlgItem(w, IDYES) != nullptr && !StaticTextHolding(w, "settings kept in its folder").empty();
    }, 60000);
    ASSERT_NE(folderQuestion, nullptr);
    EXPECT_TRUE(PathExists(Installed("Solvane.ini"))) << "not deleted before the answer";
    PostMessageA(folderQuestion, WM_COMMAND, IDYES, 0);
    ASSERT_NE(WizardAt("Solvane Uninstall", "&Close"), nullptr);
    PressMainButton(wizard);
    EXPECT_TRUE(WaitUntil([] { return CountProcesses("Un.exe") == 0; }, 30000));
    EXPECT_FALSE(PathExists(InstallDir()));
    EXPECT_FALSE(PathExists(UserFolder(CSIDL_APPDATA)));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
}

}  // namespace
