#include "ProgramHarness.h"
#include "TrustStandIn.h"

#include "render/BitmapFile.h"
#include "platform/GdiSurface.h"
#include "platform/WideText.h"

#include <tlhelp32.h>
#include <winternl.h>

#include <atomic>
#include <cstring>
#include <cstdlib>
#include <fstream>
#include <iterator>

std::string DistFolder() {
    const char* dist = std::getenv("SOLVANE_DIST_DIR");
    std::string path = std::string("Z:") + (dist != nullptr ? dist : "");
    for (char& c : path) if (c == '/') c = '\\';
    return path;
}

namespace {

void RemoveTree(const std::wstring& dir) {
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW((dir + L"\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring child = dir + L"\\" + name;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(child);
            else DeleteFileW(child.c_str());
        } while (FindNextFileW(find, &entry));
        FindClose(find);
    }
    RemoveDirectoryW(dir.c_str());
}

}  // namespace

void RemoveFolder(const std::string& dir) { RemoveTree(WideFromUtf8(dir)); }

InstallFolder::InstallFolder(const std::vector<std::string>& files, Layout layout, const std::string& name) {
    static std::atomic<int> counter{0};
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    dir_ = Utf8FromWide(std::wstring(temp)) + name + "-" + std::to_string(GetCurrentProcessId()) + "-" +
           std::to_string(counter++);
    RemoveFolder(dir_);
    CreateDirectoryW(WideFromUtf8(dir_).c_str(), nullptr);
    for (const std::string& file : files) {
        CopyFileW(WideFromUtf8(DistFolder() + "\\" + file).c_str(), WideFromUtf8(path(file)).c_str(), FALSE);
    }
    if (layout == Layout::Portable) WriteBinaryFile(path("portable"), {});
}

InstallFolder::~InstallFolder() { RemoveFolder(dir_); }

namespace {

// The standard user's token behind the test's own elevated one; nullptr when there is none.
HANDLE StandardUserToken() {
    HANDLE own = nullptr, primary = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &own)) return nullptr;
    TOKEN_LINKED_TOKEN linked = {};
    DWORD size = 0;
    if (GetTokenInformation(own, TokenLinkedToken, &linked, sizeof linked, &size)) {
        DuplicateTokenEx(linked.LinkedToken, MAXIMUM_ALLOWED, nullptr, SecurityImpersonation, TokenPrimary, &primary);
        CloseHandle(linked.LinkedToken);
    }
    CloseHandle(own);
    return primary;
}

}  // namespace

RunningProgram::RunningProgram(const std::string& exe, const std::string& arguments, Rights rights, Trust trust) {
    std::wstring commandLine = WideFromUtf8("\"" + exe + "\"" + (arguments.empty() ? "" : " " + arguments));
    STARTUPINFOW startup = {sizeof(startup)};
    const HANDLE token = rights == Rights::Standard ? StandardUserToken() : nullptr;
    if (rights == Rights::Standard && token == nullptr) return;
    const DWORD flags = trust == Trust::Trusted ? CREATE_SUSPENDED : 0;
    const BOOL started = token != nullptr
                             ? CreateProcessAsUserW(token, WideFromUtf8(exe).c_str(), &commandLine[0], nullptr, nullptr,
                                                    FALSE, flags, nullptr, nullptr, &startup, &process_)
                             : CreateProcessW(WideFromUtf8(exe).c_str(), &commandLine[0], nullptr, nullptr, FALSE, flags,
                                              nullptr, nullptr, &startup, &process_);
    if (!started) startError_ = GetLastError();
    if (token != nullptr) CloseHandle(token);
    if (!started) {
        process_ = {};
        return;
    }
    if (trust == Trust::Trusted && !WriteTrustStandIn(process_.hProcess, exe)) {
        TerminateProcess(process_.hProcess, 99);
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
        process_ = {};
        return;
    }
    if (trust == Trust::Trusted) ResumeThread(process_.hThread);
}

RunningProgram::~RunningProgram() {
    if (!started()) return;
    if (running()) {
        TerminateProcess(process_.hProcess, 99);
        WaitForSingleObject(process_.hProcess, 5000);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
}

bool RunningProgram::waitForExit(DWORD timeoutMs) {
    return started() && WaitForSingleObject(process_.hProcess, timeoutMs) == WAIT_OBJECT_0;
}

bool RunningProgram::running() {
    return started() && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

DWORD RunningProgram::exitCode() {
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_.hProcess, &code);
    return code;
}

namespace {

std::string DrainPipe(HANDLE pipe) {
    std::string text;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(pipe, buffer, sizeof buffer, &read, nullptr) && read > 0) text.append(buffer, read);
    return text;
}

}  // namespace

ConsoleRun RunConsoleProgram(const std::string& exe, const std::string& arguments,
                             DWORD timeoutMs) {
    ConsoleRun run;
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    HANDLE outRead, outWrite, errRead, errWrite;
    CreatePipe(&outRead, &outWrite, &inherit, 0);
    CreatePipe(&errRead, &errWrite, &inherit, 0);
    SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup = {sizeof(startup)};
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = outWrite;
    startup.hStdError = errWrite;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    std::wstring commandLine = WideFromUtf8("\"" + exe + "\" " + arguments);
    PROCESS_INFORMATION process = {};
    const bool started = CreateProcessW(WideFromUtf8(exe).c_str(), &commandLine[0], nullptr, nullptr, TRUE,
                                        CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process);
    CloseHandle(outWrite);
    CloseHandle(errWrite);
    if (started) {
        run.output = DrainPipe(outRead);  // the outputs are small: the pipes do not fill up
        run.errors = DrainPipe(errRead);
        run.finished = WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_OBJECT_0;
        GetExitCodeProcess(process.hProcess, &run.exitCode);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CloseHandle(outRead);
    CloseHandle(errRead);
    return run;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (condition()) return true;
        if (GetTickCount() - start > timeoutMs) return false;
        MSG message;  // keep our own windows responsive while waiting
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);  // 50 ms, or a message
    }
}

bool WaitUntilIdle(HWND window, DWORD timeoutMs) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_BLOCK, timeoutMs, &result) != 0;
}

void WaitForClockSeconds(int count) {
    const auto second = [] {
        SYSTEMTIME now;
        GetSystemTime(&now);
        return now.wSecond;
    };
    for (int passed = 0; passed < count; ++passed) {
        const WORD start = second();
        WaitUntil([&] { return second() != start; }, 5000);
    }
}

HWND WaitForStartedProgram(DWORD timeoutMs) {
    HWND hidden = WaitForWindow("Solvane Hidden Window", timeoutMs);
    return hidden != nullptr && WaitUntilIdle(hidden, timeoutMs) ? hidden : nullptr;
}

HWND WaitForWindow(const char* title, DWORD timeoutMs, const char* className) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindWindowA(className, title)) != nullptr; }, timeoutMs);
    return found;
}

HWND WaitForDialog(const std::function<bool(HWND)>& matches, DWORD timeoutMs) {
    HWND found = nullptr;
    WaitUntil([&] {
        for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, "#32770", nullptr)) != nullptr;) {
            if (IsWindowVisible(w) && matches(w)) return (found = w) != nullptr;
        }
        return false;
    }, timeoutMs);
    return found;
}

HWND WaitForDialogWith(int id, DWORD timeoutMs) {
    return WaitForDialog([id](HWND w) { return GetDlgItem(w, id) != nullptr; }, timeoutMs);
}

void MoveMouse(HWND window, int x, int y, DWORD flags) {
    POINT at = {x, y};
    ClientToScreen(window, &at);
    SetCursorPos(at.x, at.y);
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = MOUSEEVENTF_MOVE | flags;
    SendInput(1, &input, sizeof input);
}

namespace {

// Lets the left button go at (x, y) of `window` until the system agrees it is up and the
// pointer is there: a release that synthetic input lost would leave a drag running in the
// program (a modal move loop that swallows the program's quit message).
void LetGo(HWND window, int x, int y) {
    POINT target = {x, y}, at = {};
    ClientToScreen(window, &target);
    WaitUntil([&] {
        MoveMouse(window, x, y, MOUSEEVENTF_LEFTUP);
        return (GetAsyncKeyState(VK_LBUTTON) & 0x8000) == 0 && GetCursorPos(&at) && at.x == target.x && at.y == target.y;
    }, 2000);
    WaitUntilIdle(window);
}

}  // namespace

bool DragWindow(HWND window, int x, int y, DWORD timeoutMs) {
    // A press judged where the pointer was before would hit another part of the window.
    LetGo(window, x, y);
    RECT before, after;
    GetWindowRect(window, &before);
    MoveMouse(window, x, y, MOUSEEVENTF_LEFTDOWN);
    int step = 0;
    const bool moved = WaitUntil([&] {
        ++step;
        MoveMouse(window, x + 4 * step, y + 3 * step);
        GetWindowRect(window, &after);
        // Along with the mouse, down and to the right: not moved for some other reason.
        return after.left - before.left >= 4 && after.top - before.top >= 3;
    }, timeoutMs);
    LetGo(window, x + 4 * step, y + 3 * step);
    return moved;
}

std::string WindowText(HWND window) {
    char text[2048] = "";
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_BLOCK, 5000, &copied);
    return text;
}

HWND OpenDialogWith(HWND target, UINT command, int id) {
    PostMessageA(target, WM_COMMAND, command, 0);
    HWND dialog = WaitForDialogWith(id);
    if (dialog != nullptr) WaitUntilIdle(dialog);
    return dialog;
}

std::vector<std::string> StaticTexts(HWND window) {
    std::vector<std::string> texts;
    EnumChildWindows(
        window,
        [](HWND child, LPARAM out) -> BOOL {
            char className[64] = {}, text[512] = {};
            GetClassNameA(child, className, sizeof className);
            if (lstrcmpiA(className, "Static") == 0 && GetWindowTextA(child, text, sizeof text)) {
                reinterpret_cast<std::vector<std::string>*>(out)->push_back(text);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&texts));
    return texts;
}

std::string StaticTextHolding(HWND window, const std::string& part) {
    for (const std::string& text : StaticTexts(window)) {
        if (text.find(part) != std::string::npos) return text;
    }
    return "";
}

int CountProcesses(const char* exeName) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return -1;
    PROCESSENTRY32 entry = {sizeof(entry)};
    int count = 0;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
        if (lstrcmpiA(entry.szExeFile, exeName) == 0) ++count;
    }
    CloseHandle(snapshot);
    return count;
}

Capture CaptureWindow(HWND window) {
    Capture c;
    RECT r;
    GetClientRect(window, &r);
    c.width = r.right;
    c.height = r.bottom;
    BITMAPINFOHEADER header = DibHeader(c.width, -c.height, 32);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    HDC source = GetDC(nullptr);  // the screen, as the user sees it
    HDC memory = CreateCompatibleDC(source);
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(memory, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, dib);
    BitBlt(memory, 0, 0, c.width, c.height, source, origin.x, origin.y, SRCCOPY);
    GdiFlush();
    c.bgra.assign(static_cast<uint8_t*>(bits), static_cast<uint8_t*>(bits) + size_t(c.width) * c.height * 4);
    SelectObject(memory, previous);
    DeleteObject(dib);
    DeleteDC(memory);
    ReleaseDC(nullptr, source);
    return c;
}

Capture SettledCaptureOutside(HWND window, const RECT& moving, DWORD timeoutMs) {
    const auto same = [&](const Capture& a, const Capture& b) {
        if (a.width != b.width || a.height != b.height) return false;
        for (int y = 0; y < a.height; ++y) {
            for (int x = 0; x < a.width; ++x) {
                const bool inside = x >= moving.left && x < moving.right && y >= moving.top && y < moving.bottom;
                if (!inside && memcmp(a.at(x, y), b.at(x, y), 3) != 0) return false;
            }
        }
        return true;
    };
    // Settled: unchanged for a quarter of a second (a view's first OpenGL frame can be slow).
    Capture last = CaptureWindow(window);
    DWORD sameSince = GetTickCount();
    WaitUntil([&] {
        Capture now = CaptureWindow(window);
        if (!same(now, last)) sameSince = GetTickCount();
        last = std::move(now);
        return GetTickCount() - sameSince >= 250;
    }, timeoutMs);
    return last;
}

Capture SettledCapture(HWND window, DWORD timeoutMs) { return SettledCaptureOutside(window, RECT{0, 0, 0, 0}, timeoutMs); }

void KeepScreenshot(const Capture& c, const char* name) {
    if (c.width == 0 || c.height == 0) return;
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string path = std::string(temp) + name;
    WriteBitmapFile(path, c.width, c.height, c.at(0, c.height - 1), -std::ptrdiff_t(c.width) * 4);
    KeepFileAsScreenshot(path, name);
    DeleteFileA(path.c_str());
}

void KeepFileAsScreenshot(const std::string& path, const std::string& name) {
    const char* shots = std::getenv("SOLVANE_SCREENSHOT_DIR");
    if (shots == nullptr) return;
    std::string dir = std::string("Z:") + shots;
    for (char& c : dir) if (c == '/') c = '\\';
    CreateDirectoryA(dir.c_str(), nullptr);
    CopyFileA(path.c_str(), (dir + "\\" + name).c_str(), FALSE);
}

std::vector<char> ReadBinaryFile(const std::string& path) {
    std::vector<char> bytes;
    if (std::FILE* file = _wfopen(WideFromUtf8(path).c_str(), L"rb")) {
        char buffer[65536];
        for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;) {
            bytes.insert(bytes.end(), buffer, buffer + got);
        }
        std::fclose(file);
    }
    return bytes;
}

bool WriteBinaryFile(const std::string& path, const std::vector<char>& bytes) {
    std::FILE* file = _wfopen(WideFromUtf8(path).c_str(), L"wb");
    if (file == nullptr) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

bool PathExists(const std::string& path) {
    return GetFileAttributesW(WideFromUtf8(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::string> TemporaryFilesOf(const std::string& path) {
    std::vector<std::string> found;
    const std::string folder = path.substr(0, path.find_last_of('\\') + 1);
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW(WideFromUtf8(path + ".*.new").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return found;
    do found.push_back(folder + Utf8FromWide(std::wstring(entry.cFileName)));
    while (FindNextFileW(find, &entry));
    FindClose(find);
    return found;
}

std::string DesktopWallpaperPath() {
    wchar_t path[MAX_PATH] = L"";
    DWORD size = sizeof path;
    if (RegGetValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"Wallpaper", RRF_RT_REG_SZ, nullptr, path,
                     &size) != ERROR_SUCCESS) {
        return "";
    }
    return Utf8FromWide(std::wstring(path));
}

bool ReadRegistryValue(HKEY root, const char* key, const char* name, std::string& bytes,
                       DWORD* type) {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(root, key, 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) return false;
    DWORD size = 0, valueType = 0;
    LONG status = RegQueryValueExA(opened, name, nullptr, &valueType, nullptr, &size);
    if (status == ERROR_SUCCESS) {
        bytes.assign(size, '\0');
        status = RegQueryValueExA(opened, name, nullptr, &valueType,
                                  reinterpret_cast<BYTE*>(&bytes[0]), &size);
        bytes.resize(size);
    }
    RegCloseKey(opened);
    if (type != nullptr) *type = valueType;
    return status == ERROR_SUCCESS;
}

void DeleteRegistryValue(HKEY root, const char* key, const char* name) {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(root, key, 0, KEY_SET_VALUE, &opened) != ERROR_SUCCESS) return;
    RegDeleteValueA(opened, name);
    RegCloseKey(opened);
}

void SendKey(WORD key) {
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[1].ki.wVk = key;
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof(INPUT));
}

COLORREF ScreenPixel(HWND window, int x, int y) {
    POINT at = {x, y};
    ClientToScreen(window, &at);
    HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, at.x, at.y);
    ReleaseDC(nullptr, screen);
    return colour;
}
