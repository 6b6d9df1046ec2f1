// Running the real programs in a fresh install folder and watching what they do.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// The folder the build installs into (SOLVANE_DIST_DIR, a Unix path), as a Windows path.
std::string DistFolder();

// A fresh, empty folder under the temporary folder holding a copy of the named files of the
// install folder; deleted with everything in it when the object goes. A portable copy (the
// marker file beside the programs) keeps the user's files in the folder too; an installed one
// keeps them in the user's application data folders. `name` (UTF-8) is part of the folder's.
enum class Layout { Portable, Installed };
class InstallFolder {
public:
    explicit InstallFolder(const std::vector<std::string>& files = {"solvane.exe", "SVShared.dll", "cheby"},
                           Layout layout = Layout::Portable, const std::string& name = "solvane-e2e");
    ~InstallFolder();
    const std::string& dir() const { return dir_; }
    std::string path(const std::string& name) const { return dir_ + "\\" + name; }

private:
    std::string dir_;
};

// The rights a program is started with: the test's own (wine gives an administrator's), or
// those of a standard user's session, which must ask to be elevated (the token linked to the
// test's).
enum class Rights { AsTest, Standard };

// Whether a started program trusts the files it judges (platform/FolderTrustReading.h): as it
// reads their descriptors (wine's, made up from Unix modes, are never trusted), or as trusted,
// like an installed program's, by the stand-in written into the program before it runs.
enum class Trust { AsRead, Trusted };

// A started program; killed when the object goes if it is still running.
class RunningProgram {
public:
    explicit RunningProgram(const std::string& exe, const std::string& arguments = "", Rights rights = Rights::AsTest,
                            Trust trust = Trust::AsRead);
    ~RunningProgram();
    bool started() const { return process_.hProcess != nullptr; }
    // Why it did not start: the system's error code of the start (0 when it started).
    DWORD startError() const { return startError_; }
    bool waitForExit(DWORD timeoutMs);
    bool running();
    DWORD exitCode();
    HANDLE process() const { return process_.hProcess; }

private:
    PROCESS_INFORMATION process_ = {};
    DWORD startError_ = 0;
};

// Runs a console program to its end (at most `timeoutMs`) and collects what it printed.
struct ConsoleRun {
    bool finished = false;
    DWORD exitCode = 0;
    std::string output, errors;
};
ConsoleRun RunConsoleProgram(const std::string& exe, const std::string& arguments,
                             DWORD timeoutMs = 30000);

// Polls `condition` every 50 ms until it holds or `timeoutMs` passes.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs);

// Waits until the thread of `window` has handled everything sent to it before: true once
// it is back in its message loop.
bool WaitUntilIdle(HWND window, DWORD timeoutMs = 10000);

// Waits until the system clock has passed `count` whole-second boundaries: the clock of a
// running program would have moved on meanwhile.
void WaitForClockSeconds(int count);

// The hidden main window of a started solvane.exe once it answers messages, or null.
HWND WaitForStartedProgram(DWORD timeoutMs);

// The top-level window with this title (and class, when given), waiting up to `timeoutMs`.
HWND WaitForWindow(const char* title, DWORD timeoutMs, const char* className = nullptr);

// The visible dialog (class #32770) that holds control `id`, waiting up to `timeoutMs`.
HWND WaitForDialogWith(int id, DWORD timeoutMs = 10000);
// The first visible dialog that `matches`; null when none does within the time-out.
HWND WaitForDialog(const std::function<bool(HWND)>& matches, DWORD timeoutMs);

// The texts of a window's static children (a message box's message, say).
std::vector<std::string> StaticTexts(HWND window);
// The first of them that holds `part`; empty when none does.
std::string StaticTextHolding(HWND window, const std::string& part);
// The mouse itself: to (x, y) in `window`'s client area, with `flags` (button presses).
void MoveMouse(HWND window, int x, int y, DWORD flags = 0);
// Presses the left button at (x, y) in `window` and moves the mouse on, step by step, while
// the window follows (or not, within `timeoutMs`); true when it moved.
bool DragWindow(HWND window, int x, int y, DWORD timeoutMs);
// The text of a window of any process (an edit's contents, a static's text).
std::string WindowText(HWND window);
// Posts `command` to `target` and waits for the dialog with control `id`, idle; null when none came.
HWND OpenDialogWith(HWND target, UINT command, int id);

// Number of running processes whose executable has this name.
int CountProcesses(const char* exeName);

// Paths here are UTF-8, opened with the wide calls.
std::vector<char> ReadBinaryFile(const std::string& path);
// What the screen shows of a window's client area, read back through GDI.
struct Capture {
    int width = 0, height = 0;
    std::vector<uint8_t> bgra;  // top row first
    const uint8_t* at(int x, int y) const { return &bgra[(size_t(y) * width + x) * 4]; }
};
Capture CaptureWindow(HWND window);

// The colour on the screen at (x, y) of `window`'s client area.
COLORREF ScreenPixel(HWND window, int x, int y);
// The window's picture once its painting has finished: two captures in a row agree (outside
// `moving`, a part that never stops changing, for the second).
Capture SettledCapture(HWND window, DWORD timeoutMs = 10000);
Capture SettledCaptureOutside(HWND window, const RECT& moving, DWORD timeoutMs = 10000);

// Presses and releases a key, as the user would.
void SendKey(WORD key);

// Saves a capture as a bitmap in the screenshot folder (SOLVANE_SCREENSHOT_DIR), if any.
void KeepScreenshot(const Capture& capture, const char* name);

// Copies a file into the screenshot folder (SOLVANE_SCREENSHOT_DIR) when there is one.
void KeepFileAsScreenshot(const std::string& path, const std::string& name);
bool WriteBinaryFile(const std::string& path, const std::vector<char>& bytes);
bool PathExists(const std::string& path);  // a file or a folder
// The temporary files of unfinished writes of `path` ("<path>.<8 hex digits>.new") as full
// paths.
std::vector<std::string> TemporaryFilesOf(const std::string& path);
// The desktop wallpaper's path as Windows last stored it (the registry: a process's own
// SPI_GETDESKWALLPAPER may answer from a copy taken before another program changed it).
std::string DesktopWallpaperPath();
// Deletes a folder with everything in it.
void RemoveFolder(const std::string& dir);

// The raw bytes of a registry value; false when it is missing.
bool ReadRegistryValue(HKEY root, const char* key, const char* name, std::string& bytes,
                       DWORD* type = nullptr);
void DeleteRegistryValue(HKEY root, const char* key, const char* name);
