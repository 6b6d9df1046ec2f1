// Helpers of the desktop program's benchmark (bench/run_wine_bench.sh, which measures the CPU
// solvane.exe uses): writes the options to start with, measures the time from starting
// solvane.exe to its first painted globe, the time its exits take, and its idle working set.
// Run beside solvane.exe, SVShared.dll and cheby.
#include "app/UserOptions.h"
#include "platform/HandleOwners.h"
#include "res/resource.h"
#include "tests/wine/TrustStandIn.h"

#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::string Beside(const char* name) {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir(path);
    return dir.substr(0, dir.find_last_of('\\') + 1) + name;
}

// A process the bench started: its handles close when this goes.
struct StartedProcess {
    KernelHandle process, thread;
};

// Starts `command` with CreateProcess `flags`; empty handles when it did not start.
StartedProcess Start(std::string command, DWORD flags = 0) {
    STARTUPINFOA startup = {sizeof(startup)};
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, flags, nullptr, nullptr, &startup, &process)) {
        return {};
    }
    return {KernelHandle(process.hProcess), KernelHandle(process.hThread)};
}

double Seconds(const LARGE_INTEGER& a, const LARGE_INTEGER& b) {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return double(b.QuadPart - a.QuadPart) / double(f.QuadPart);
}

// `wallpaper`: "off", "screen" (the generator on, pictures of the screen's size) or a typed
// size "WxH".
void WriteOptions(int viewpoint, const std::string& wallpaper) {
    UserOptions o;
    SetDefaultOptions(o);
    o.hideSplash = 1;
    o.startWithWindows = 0;
    o.viewpoint = viewpoint;
    o.wallpaperEnabled = wallpaper != "off";
    o.wallpaperFullDesktop = wallpaper == "off" || wallpaper == "screen";
    if (!o.wallpaperFullDesktop) std::sscanf(wallpaper.c_str(), "%dx%d", &o.wallpaperWidth, &o.wallpaperHeight);
    const FileHandle file(CreateFileA(Beside("user.bin").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written;
    WriteFile(file.get(), &o, sizeof o, &written, nullptr);
}

// Whether the globe shows: some of a grid of points over the view are bright (the lit side,
// its limb, city lights or the time) or many are faint (a globe wholly in night), whatever
// side of the Earth faces the viewer.
bool GlobePainted() {
    HWND frame = FindWindowA("SolvaneEarthFrame", nullptr);
    HWND view = frame ? FindWindowExA(frame, nullptr, "SolvaneEarthView", nullptr) : nullptr;
    if (view == nullptr || !IsWindowVisible(view)) return false;
    RECT r;
    GetClientRect(view, &r);
    const WindowDC screen(nullptr);
    int bright = 0, faint = 0;
    for (int i = 1; i < 16; ++i) {
        for (int j = 1; j < 16; ++j) {
            POINT at = {r.right * i / 16, r.bottom * j / 16};
            ClientToScreen(view, &at);
            const COLORREF c = GetPixel(screen.get(), at.x, at.y);
            const int sum = c != CLR_INVALID ? GetRValue(c) + GetGValue(c) + GetBValue(c) : 0;
            bright += sum > 90;
            faint += sum > 12;
        }
    }
    return bright >= 3 || faint >= 20;
}

// Time for wine (or Windows) to start a program that does nothing but print its usage.
double ProcessStartSeconds() {
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    const StartedProcess almanac = Start("\"" + Beside("solvane-almanac.exe") + "\" --bad", CREATE_NO_WINDOW);
    if (!almanac.process) return 0;
    WaitForSingleObject(almanac.process.get(), 30000);
    QueryPerformanceCounter(&end);
    return Seconds(start, end);
}

// Starts solvane.exe and prints how long it took to show its first globe; leaves it running.
// False when it did not start or showed no globe.
bool FirstFrame() {
    LARGE_INTEGER start, painted;
    QueryPerformanceCounter(&start);
    if (!Start("\"" + Beside("solvane.exe") + "\"").process) {
        std::printf("cannot start solvane.exe\n");
        return false;
    }
    bool shown = false;
    do {
        Sleep(5);
        QueryPerformanceCounter(&painted);
        shown = GlobePainted();
    } while (!shown && Seconds(start, painted) < 30);
    if (!shown) {
        std::printf("first painted frame: none within 30 s\n");
        return false;
    }
    const double firstFrame = Seconds(start, painted);
    const double bareStart = ProcessStartSeconds();
    std::printf("first painted frame %.2f s after start (%.2f s without the %.2f s a bare process "
                "start takes; target 1 s)\n", firstFrame, firstFrame - bareStart, bareStart);
    return true;
}

// Starts solvane.exe into `process` and waits for its first globe; false when it did not come.
bool StartAndWaitForGlobe(StartedProcess& process) {
    process = Start("\"" + Beside("solvane.exe") + "\"");
    if (!process.process) return false;
    LARGE_INTEGER start, now;
    QueryPerformanceCounter(&start);
    bool painted = false;
    do {
        Sleep(20);
        QueryPerformanceCounter(&now);
        painted = GlobePainted();
    } while (!painted && Seconds(start, now) < 30);
    // Seen once is enough: under wine the screen can show the view black for a few tens of
    // milliseconds after its first frame, with no paint of the program's in between.
    return painted;
}

// Times one exit: after `prepare`, from `ask` (which asks the program to end) until
// "user.bin" is written and until the process is gone.
template <typename Prepare, typename Ask>
void TimeExit(const char* what, Prepare prepare, Ask ask) {
    StartedProcess process;
    if (!StartAndWaitForGlobe(process)) {
        std::printf("exit, %s: solvane.exe did not show its globe\n", what);
        if (process.process) TerminateProcess(process.process.get(), 1);  // not left running for the next figure
        return;
    }
    Sleep(3000);  // past the first wallpaper, if any: the wallpaper thread is idle
    prepare();
    DeleteFileA(Beside("user.bin").c_str());
    LARGE_INTEGER start, saved = {}, gone;
    QueryPerformanceCounter(&start);
    ask();
    bool written = false;
    for (;;) {
        if (!written && GetFileAttributesA(Beside("user.bin").c_str()) != INVALID_FILE_ATTRIBUTES) {
            QueryPerformanceCounter(&saved);
            written = true;
        }
        if (WaitForSingleObject(process.process.get(), 1) == WAIT_OBJECT_0) break;
        QueryPerformanceCounter(&gone);
        if (Seconds(start, gone) > 60) break;
    }
    QueryPerformanceCounter(&gone);
    if (!written && GetFileAttributesA(Beside("user.bin").c_str()) != INVALID_FILE_ATTRIBUTES) {
        saved = gone;
        written = true;
    }
    std::printf("exit, %s: user.bin written after %s, process gone after %.2f s (target 1 s)\n", what,
                written ? (std::to_string(Seconds(start, saved)).substr(0, 4) + " s").c_str() : "never",
                Seconds(start, gone));
}

HWND HiddenWindow() { return FindWindowA(nullptr, "Solvane Hidden Window"); }

// Starts solvane.exe with the options written before, waits until it is idle (its globe shown
// and, with the generator on, its first picture written and a few seconds more), and prints the
// median of ten readings of its working set a second apart, with its private bytes; then ends it.
int WorkingSet(const char* what) {
    const std::string picture = Beside("Solvane.bmp");
    DeleteFileA(picture.c_str());
    UserOptions o;
    DWORD read = 0;
    bool loaded = false;
    {  // closed before the clock starts: it opens the file itself
        const FileHandle file(CreateFileA(Beside("user.bin").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        loaded = ReadFile(file.get(), &o, sizeof o, &read, nullptr) && read == sizeof o;
    }
    StartedProcess process;
    if (!loaded || !StartAndWaitForGlobe(process)) {
        std::printf("idle working set, %s: not measured (no globe shown)\n", what);
        if (process.process) TerminateProcess(process.process.get(), 1);
        return 1;
    }
    if (o.wallpaperEnabled == 1) {
        for (int i = 0; i < 1200 && GetFileAttributesA(picture.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) Sleep(50);
        if (GetFileAttributesA(picture.c_str()) == INVALID_FILE_ATTRIBUTES) {
            std::printf("idle working set, %s: not measured (no wallpaper within 60 s)\n", what);
            TerminateProcess(process.process.get(), 1);
            return 1;
        }
    }
    Sleep(5000);  // the picture shown, the thread waiting again
    std::vector<double> workingSet, privateBytes;
    for (int i = 0; i < 10; ++i) {
        PROCESS_MEMORY_COUNTERS memory = {sizeof memory};
        if (GetProcessMemoryInfo(process.process.get(), &memory, sizeof memory)) {
            workingSet.push_back(double(memory.WorkingSetSize) / 1048576.0);
            privateBytes.push_back(double(memory.PagefileUsage) / 1048576.0);
        }
        Sleep(1000);
    }
    PostMessageA(HiddenWindow(), WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.process.get(), 20000) != WAIT_OBJECT_0) TerminateProcess(process.process.get(), 1);
    if (workingSet.empty()) {
        std::printf("idle working set, %s: not measured (no memory counters)\n", what);
        return 1;
    }
    std::sort(workingSet.begin(), workingSet.end());
    std::sort(privateBytes.begin(), privateBytes.end());
    std::printf("idle working set, %s: %.1f MB (private %.1f MB)\n", what, workingSet[workingSet.size() / 2],
                privateBytes[privateBytes.size() / 2]);
    return 0;
}

// The exit times: the close message to the hidden window, and the end of the session with the
// earth clock's context menu open.
void ExitTimes() {
    TimeExit("close message", [] {}, [] { PostMessageA(HiddenWindow(), WM_CLOSE, 0, 0); });
    TimeExit("session end with the context menu open", [] {
        HWND frame = FindWindowA("SolvaneEarthFrame", nullptr);
        PostMessageA(frame, WM_CONTEXTMENU, WPARAM(frame), MAKELPARAM(200, 200));
        for (int i = 0; i < 500 && FindWindowA("#32768", nullptr) == nullptr; ++i) Sleep(10);
        Sleep(1500);  // the tick meets the open menu
    }, [] {
        DWORD_PTR result = 0;
        SendMessageTimeoutA(HiddenWindow(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_BLOCK, 30000, &result);
    });
}

// Opens the Lunar Phases window of the running program from its tray command and waits for it;
// with `close`, closes it again.
int LunarPhases(bool close) {
    PostMessageA(HiddenWindow(), WM_COMMAND, 32771, 0);  // "Moon Phases"
    HWND lunar = nullptr;
    for (int i = 0; i < 1500 && (lunar = FindWindowA("SolvaneLunarPhases", nullptr)) == nullptr; ++i) Sleep(10);
    if (lunar == nullptr) {
        std::printf("the Lunar Phases window did not open\n");
        return 1;
    }
    if (close) {
        PostMessageA(lunar, WM_COMMAND, 101, 0);  // its Close button
        for (int i = 0; i < 1500 && IsWindow(lunar); ++i) Sleep(10);
    }
    return 0;
}

// Opens the World Clock window of the running program from its tray command and adds places to
// it by typing their names, as a user would; false when a place did not come.
int WorldClock() {
    PostMessageA(HiddenWindow(), WM_COMMAND, ID_WORLD_CLOCK, 0);
    HWND world = nullptr;
    // (Found as soon as it is made: shown once its controls are.)
    for (int i = 0; i < 1500 && ((world = FindWindowA("SolvaneWorldClock", nullptr)) == nullptr || !IsWindowVisible(world)); ++i) {
        Sleep(10);
    }
    if (world == nullptr || !IsWindowVisible(world)) {
        std::printf("the World Clock window did not open\n");
        return 1;
    }
    HWND list = GetDlgItem(world, IDC_WORLD_LIST), name = GetDlgItem(world, IDC_WORLD_NAME);
    const char* places[] = {"Tokyo", "Sydney", "London", "New York", "Los Angeles", "Mumbai", "Cairo",
                            "Sao Paulo", "Moscow", "Auckland", "Honolulu", "Reykjavik"};
    int count = 0;
    for (const char* place : places) {
        for (const char* c = place; *c != 0; ++c) PostMessageA(name, WM_CHAR, WPARAM(static_cast<unsigned char>(*c)), 1);
        PostMessageA(name, WM_KEYDOWN, VK_RETURN, 1);
        ++count;
        for (int i = 0; i < 500 && SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) < count; ++i) Sleep(10);
        if (SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) < count) {
            std::printf("%s was not added to the World Clock window\n", place);
            return 1;
        }
    }
    return 0;
}

// Lays a window of this program over the whole earth clock window for `seconds`.
int Cover(int seconds) {
    HWND frame = FindWindowA("SolvaneEarthFrame", nullptr);
    RECT r;
    if (frame == nullptr || !GetWindowRect(frame, &r)) return 1;
    HWND cover = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "STATIC", "", WS_POPUP | WS_VISIBLE, r.left - 10,
                                 r.top - 10, r.right - r.left + 20, r.bottom - r.top + 20, nullptr, nullptr, nullptr, nullptr);
    const DWORD end = GetTickCount() + DWORD(seconds) * 1000;
    MSG message;
    while (GetTickCount() < end) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    }
    DestroyWindow(cover);
    return 0;
}

// Starts the screen saver full screen as an installed one runs: trusting its folder, so that it
// draws with the image library's maps (wine's made-up descriptors are never trusted). Leaves it
// running; false when it did not start.
bool StartSaver() {
    const std::string saver = Beside("svsaver.scr");
    const StartedProcess process = Start("\"" + saver + "\" /s", CREATE_SUSPENDED);
    if (!process.process) return false;
    const bool trusted = WriteTrustStandIn(process.process.get(), saver);
    if (trusted) {
        ResumeThread(process.thread.get());
    } else {
        TerminateProcess(process.process.get(), 1);
    }
    return trusted;
}

}  // namespace

// usage: desktop_bench options VIEWPOINT [off|screen|WxH] | desktop_bench first-frame | desktop_bench exit |
//        desktop_bench lunar-open | desktop_bench lunar-open-close | desktop_bench world-open |
//        desktop_bench cover SECONDS |
//        desktop_bench minimise | desktop_bench lock | desktop_bench working-set DESCRIPTION |
//        desktop_bench saver
int main(int argc, char** argv) {
    if ((argc == 3 || argc == 4) && std::string(argv[1]) == "options") {
        WriteOptions(std::atoi(argv[2]), argc == 4 ? argv[3] : "off");
        return 0;
    }
    if (argc == 3 && std::string(argv[1]) == "working-set") return WorkingSet(argv[2]);
    if (argc == 2 && std::string(argv[1]) == "first-frame") {
        return FirstFrame() ? 0 : 1;
    }
    if (argc == 2 && std::string(argv[1]) == "exit") {
        ExitTimes();
        return 0;
    }
    if (argc == 2 && std::string(argv[1]).rfind("lunar-open", 0) == 0) {
        return LunarPhases(std::string(argv[1]) == "lunar-open-close");
    }
    if (argc == 2 && std::string(argv[1]) == "world-open") return WorldClock();
    if (argc == 3 && std::string(argv[1]) == "cover") return Cover(std::atoi(argv[2]));
    if (argc == 2 && std::string(argv[1]) == "minimise") {
        PostMessageA(FindWindowA("SolvaneEarthFrame", nullptr), WM_SYSCOMMAND, SC_MINIMIZE, 0);
        return 0;
    }
    if (argc == 2 && std::string(argv[1]) == "lock") {  // as Windows tells the program of a lock
        PostMessageA(HiddenWindow(), WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK, 0);
        return 0;
    }
    if (argc == 2 && std::string(argv[1]) == "saver") return StartSaver() ? 0 : 1;
    std::fprintf(stderr, "usage: desktop_bench options VIEWPOINT [off|screen|WxH] | first-frame | exit | lunar-open |"
                         " lunar-open-close | world-open | cover SECONDS | minimise | lock | working-set DESCRIPTION | saver\n");
    return 2;
}
