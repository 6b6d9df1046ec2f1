// The desktop program's cost: CPU used by solvane.exe while it sits on the desktop with the
// default window (one frame a second) and with the spinning globe, and the time from starting
// it to its first painted globe. Run it beside solvane.exe, SVShared.dll and cheby.
#include "app/UserOptions.h"
#include "res/resource.h"

#include <windows.h>

#include <cstdio>
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

double CpuSeconds(HANDLE process) {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(process, &created, &exited, &kernel, &user);
    auto value = [](FILETIME t) { return (double(t.dwHighDateTime) * 4294967296.0 + t.dwLowDateTime) * 1e-7; };
    return value(kernel) + value(user);
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

void Measure(const char* what, int viewpoint, int seconds) {
    WriteOptions(viewpoint);
    std::string command = "\"" + Beside("solvane.exe") + "\"";
    STARTUPINFOA startup = {sizeof(startup)};
    PROCESS_INFORMATION process = {};
    LARGE_INTEGER start, painted;
    QueryPerformanceCounter(&start);
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        std::printf("cannot start solvane.exe\n");
        return;
    }
    while (!GlobePainted()) {
        Sleep(5);
        QueryPerformanceCounter(&painted);
        if (Seconds(start, painted) > 30) break;
    }
    QueryPerformanceCounter(&painted);
    const double firstFrame = Seconds(start, painted);
    Sleep(2000);
    const double cpuBefore = CpuSeconds(process.hProcess);
    LARGE_INTEGER a, b;
    QueryPerformanceCounter(&a);
    Sleep(DWORD(seconds) * 1000);
    QueryPerformanceCounter(&b);
    const double cpu = (CpuSeconds(process.hProcess) - cpuBefore) / Seconds(a, b) * 100;
    const double bareStart = ProcessStartSeconds();
    std::printf("%s: CPU %.2f %% of one core over %d s; first painted frame %.2f s after start "
                "(%.2f s without the %.2f s a bare process start takes)\n",
                what, cpu, seconds, firstFrame, firstFrame - bareStart, bareStart);
    PostMessageA(FindWindowA(nullptr, "Solvane Hidden Window"), WM_COMMAND, ID_APP_EXIT, 0);
    WaitForSingleObject(process.hProcess, 15000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

}  // namespace

int main() {
    Measure("default window, one frame a second (target CPU <= 0.5 %, first frame <= 1 s)", kViewOverHome, 60);
    Measure("spinning globe", kViewSpinningGlobe, 20);
    return 0;
}
