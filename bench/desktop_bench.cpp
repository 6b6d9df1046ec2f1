// Helpers of the desktop program's benchmark (bench/run_wine_bench.sh, which measures the CPU
// solvane.exe uses): writes the options to start with, and measures the time from starting
// solvane.exe to its first painted globe. Run beside solvane.exe, SVShared.dll and cheby.
#include "app/UserOptions.h"
#include "res/resource.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string Beside(const char* name) {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir(path);
    return dir.substr(0, dir.find_last_of('\\') + 1) + name;
}

double Seconds(const LARGE_INTEGER& a, const LARGE_INTEGER& b) {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return double(b.QuadPart - a.QuadPart) / double(f.QuadPart);
}

void WriteOptions(int viewpoint) {
    UserOptions o;
    SetDefaultOptions(o);
    o.hideSplash = 1;
    o.startWithWindows = 0;
    o.viewpoint = viewpoint;
    HANDLE file = CreateFileA(Beside("user.bin").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written;
    WriteFile(file, &o, sizeof o, &written, nullptr);
    CloseHandle(file);
}

// Whether the globe shows: the middle of the view is no longer black.
bool GlobePainted() {
    HWND frame = FindWindowA("SolvaneEarthFrame", nullptr);
    HWND view = frame ? FindWindowExA(frame, nullptr, "SolvaneEarthView", nullptr) : nullptr;
    if (view == nullptr || !IsWindowVisible(view)) return false;
    RECT r;
    GetClientRect(view, &r);
    POINT centre = {r.right / 2, r.bottom / 2 - 30};
    ClientToScreen(view, &centre);
    HDC screen = GetDC(nullptr);
    const COLORREF c = GetPixel(screen, centre.x, centre.y);
    ReleaseDC(nullptr, screen);
    return c != CLR_INVALID && (GetRValue(c) + GetGValue(c) + GetBValue(c)) > 30;
}

// Time for wine (or Windows) to start a program that does nothing but print its usage.
double ProcessStartSeconds() {
    std::string command = "\"" + Beside("solvane-almanac.exe") + "\" --bad";
    STARTUPINFOA startup = {sizeof(startup)};
    PROCESS_INFORMATION process = {};
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process)) return 0;
    WaitForSingleObject(process.hProcess, 30000);
    QueryPerformanceCounter(&end);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return Seconds(start, end);
}

// Starts solvane.exe and prints how long it took to show its first globe; leaves it running.
void FirstFrame() {
    std::string command = "\"" + Beside("solvane.exe") + "\"";
    STARTUPINFOA startup = {sizeof(startup)};
    PROCESS_INFORMATION process = {};
    LARGE_INTEGER start, painted;
    QueryPerformanceCounter(&start);
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        std::printf("cannot start solvane.exe\n");
        return;
    }
    do {
        Sleep(5);
        QueryPerformanceCounter(&painted);
    } while (!GlobePainted() && Seconds(start, painted) < 30);
    const double firstFrame = Seconds(start, painted);
    const double bareStart = ProcessStartSeconds();
    std::printf("first painted frame %.2f s after start (%.2f s without the %.2f s a bare process "
                "start takes; target 1 s)\n", firstFrame, firstFrame - bareStart, bareStart);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

}  // namespace

// usage: desktop_bench options VIEWPOINT | desktop_bench first-frame
int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "options") {
        WriteOptions(std::atoi(argv[2]));
        return 0;
    }
    if (argc == 2 && std::string(argv[1]) == "first-frame") {
        FirstFrame();
        return 0;
    }
    std::fprintf(stderr, "usage: desktop_bench options VIEWPOINT | desktop_bench first-frame\n");
    return 2;
}
