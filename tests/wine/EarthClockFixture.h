// A test of the real solvane.exe with its earth clock window open: options written before the
// start, the window and the hidden main window found, the program asked to end.
#pragma once

#include "ProgramHarness.h"

#include "app/UserOptions.h"
#include "platform/WideText.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

inline UserOptions ReadOptions(const std::string& path) {
    UserOptions o = {};
    const std::vector<char> bytes = ReadBinaryFile(path);
    if (bytes.size() == sizeof o) std::memcpy(&o, bytes.data(), sizeof o);
    return o;
}

// The defaults with the splash and the autostart value off, so that tests do not wait for them.
inline UserOptions QuietOptions() {
    UserOptions options;
    SetDefaultOptions(options);
    options.hideSplash = 1;
    options.startWithWindows = 0;
    return options;
}

inline bool WriteOptions(const std::string& path, const UserOptions& options) {
    const char* bytes = reinterpret_cast<const char*>(&options);
    return WriteBinaryFile(path, std::vector<char>(bytes, bytes + sizeof options));
}

// Whether the view shows its first frame, whatever side of the Earth faces the viewer: a few
// hundred bright pixels (the lit globe, its limb, city lights or the time), or a few thousand
// faint ones (the globe wholly in night, its maps at a fourteenth of their daylight).
inline bool GlobeShown(HWND view) {
    const Capture c = CaptureWindow(view);
    int bright = 0, faint = 0;
    for (size_t i = 0; i + 3 < c.bgra.size(); i += 4) {
        const int sum = c.bgra[i] + c.bgra[i + 1] + c.bgra[i + 2];
        bright += sum > 90;
        faint += sum > 12;
    }
    return bright > 300 || faint > 3000;
}

// The pixels of the place markers' yellow dots.
inline int MarkerPixels(const Capture& c) {
    int count = 0;
    for (std::size_t i = 0; i + 3 < c.bgra.size(); i += 4) count += c.bgra[i + 2] > 200 && c.bgra[i + 1] > 170 && c.bgra[i] < 120;
    return count;
}

// The full-screen saver's window once it shows, or null.
inline HWND WaitForSaverWindow(DWORD timeoutMs = 30000) {
    HWND window = nullptr;
    WaitUntil([&] {
        window = FindWindowA("WindowsScreenSaverClass", nullptr);
        return window != nullptr && IsWindowVisible(window);
    }, timeoutMs);
    return window != nullptr && IsWindowVisible(window) ? window : nullptr;
}

// Once the saver's grace period is over, presses a key until it ends; true when it did.
inline bool EndSaverWithAKey(HWND window, RunningProgram& saver, DWORD timeoutMs = 15000) {
    WaitForClockSeconds(2);
    SetForegroundWindow(window);
    return WaitUntil([&] {
        SendKey(VK_SHIFT);
        return saver.waitForExit(500);
    }, timeoutMs);
}

// Opens the earth clock window's context menu at (x, y) on the screen and waits until it shows.
inline bool OpenContextMenu(HWND frame, int x = 200, int y = 200) {
    SetForegroundWindow(frame);
    PostMessageA(frame, WM_CONTEXTMENU, WPARAM(frame), MAKELPARAM(x, y));
    return WaitForWindow(nullptr, 5000, "#32768") != nullptr;
}

class EarthClockTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(CountProcesses("solvane.exe"), 0);
        options = QuietOptions();
        options.frameLeft = 40, options.frameTop = 30, options.frameRight = 640, options.frameBottom = 560;
    }
    // Starts the program with `options` and waits for its window and details pane.
    void start() {
        ASSERT_TRUE(WriteOptions(folder.path("user.bin"), options));
        program = std::make_unique<RunningProgram>(folder.path("solvane.exe"), "", rights, trust);
        ASSERT_TRUE(program->started()) << "start error " << program->startError() << ", program file there: "
                                        << (GetFileAttributesW(WideFromUtf8(folder.path("solvane.exe")).c_str()) != INVALID_FILE_ATTRIBUTES);
        frame = WaitForWindow(nullptr, 20000, "SolvaneEarthFrame");
        ASSERT_NE(frame, nullptr);
        ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(frame) && FindWindowExA(frame, nullptr, "SolvaneDataPane", nullptr); }, 10000));
        hidden = WaitForStartedProgram(10000);
        ASSERT_NE(hidden, nullptr);
    }
    // Shut Down, as from the tray menu; the program ends with status 0.
    void stop() {
        PostMessageA(hidden, WM_COMMAND, ID_APP_EXIT, 0);
        ASSERT_TRUE(program->waitForExit(15000));
        EXPECT_EQ(program->exitCode(), 0u);
    }
    UserOptions options;
    Rights rights = Rights::AsTest;
    Trust trust = Trust::AsRead;
    InstallFolder folder;
    std::unique_ptr<RunningProgram> program;
    HWND frame = nullptr, hidden = nullptr;
};
