#include "platform/Dpi.h"

#include "platform/HandleOwners.h"

#include <algorithm>

namespace {

template <typename Function>
Function User32Function(const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

}  // namespace

UINT WindowDpi(HWND window) {
    static const auto forWindow = User32Function<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
    if (forWindow != nullptr && window != nullptr) {
        const UINT dpi = forWindow(window);
        if (dpi > 0) return dpi;
    }
    const int dpi = GetDeviceCaps(WindowDC(nullptr).get(), LOGPIXELSY);
    return dpi > 0 ? UINT(dpi) : kBaseDpi;
}

UINT DpiAtPoint(POINT point) {
    // GetDpiForMonitor lives in shcore.dll, from Windows 8.1 on.
    using ForMonitor = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    static const HMODULE shcore = LoadLibraryExW(L"shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    static const auto forMonitor = shcore != nullptr ? reinterpret_cast<ForMonitor>(reinterpret_cast<void*>(
                                                           GetProcAddress(shcore, "GetDpiForMonitor")))
                                                     : nullptr;
    UINT x = 0, y = 0;
    const int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI
    if (forMonitor != nullptr && SUCCEEDED(forMonitor(MonitorFromPoint(point, MONITOR_DEFAULTTOPRIMARY), kEffectiveDpi, &x, &y)) &&
        y > 0) {
        return y;
    }
    return WindowDpi(nullptr);
}

int SystemMetricForDpi(int index, UINT dpi) {
    static const auto forDpi = User32Function<int(WINAPI*)(int, UINT)>("GetSystemMetricsForDpi");
    if (forDpi != nullptr) return forDpi(index, dpi);
    // Without it the process is aware of the system's DPI only: scale from that.
    return MulDiv(GetSystemMetrics(index), int(dpi), int(WindowDpi(nullptr)));
}

SIZE FrameAroundClient(HWND window, UINT dpi) {
    static const auto forDpi = User32Function<BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT)>("AdjustWindowRectExForDpi");
    const DWORD style = DWORD(GetWindowLongPtrW(window, GWL_STYLE)), exStyle = DWORD(GetWindowLongPtrW(window, GWL_EXSTYLE));
    const BOOL menu = GetMenu(window) != nullptr;
    RECT r = {0, 0, 0, 0};
    if (forDpi == nullptr || !forDpi(&r, style, menu, exStyle, dpi)) {
        // Without it the process is aware of the system's DPI only, which the borders follow.
        r = {0, 0, 0, 0};
        AdjustWindowRectEx(&r, style, menu, exStyle);
    }
    return {r.right - r.left, r.bottom - r.top};
}

int ArtPercentFor(UINT dpi) {
    const UINT percent = dpi * 100 / kBaseDpi;
    return percent < 125 ? 100 : percent < 175 ? 150 : 200;
}

int ArtBitmapId(int id, UINT dpi) {
    const int percent = ArtPercentFor(dpi);
    return percent == 100 ? id : percent == 150 ? id + 1000 : id + 2000;
}

RECT CentredOnPrimaryDisplay(int width, int height) {
    const POINT centre = {GetSystemMetrics(SM_CXFULLSCREEN) / 2, GetSystemMetrics(SM_CYFULLSCREEN) / 2};
    const UINT dpi = DpiAtPoint(centre);
    width = ScaledToDpi(width, dpi);
    height = ScaledToDpi(height, dpi);
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const LONG x = std::max<LONG>(work.left, centre.x - width / 2), y = std::max<LONG>(work.top, centre.y - height / 2);
    return {x, y, x + width, y + height};
}
