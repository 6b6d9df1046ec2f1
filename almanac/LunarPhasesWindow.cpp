#include "almanac/LunarPhasesWindow.h"

#include "almanac/LunarPhasesLayout.h"
#include "app/UserOptions.h"
#include "astro/AstroState.h"
#include "platform/CivilClock.h"
#include "platform/GdiSurface.h"
#include "platform/RecursiveLock.h"
#include "platform/Dpi.h"
#include "platform/Resources.h"
#include "res/resource.h"

#include <algorithm>
#include <cstdint>
#include <mutex>

namespace {

const char kClassName[] = "SolvaneLunarPhases";
constexpr int kWidth = 700, kHeight = 500;
constexpr int kCloseButton = 101;
constexpr COLORREF kBackground = RGB(0, 2, 22);
constexpr RECT kExplanation = {425, 265, 675, 435};
constexpr UINT_PTR kRefreshTimer = 1;
constexpr UINT kRefreshMs = 60 * 1000;
// Whether the window can be seen, looked at every second besides what the system tells.
constexpr UINT_PTR kLookTimer = 2;
constexpr UINT kLookMs = 1000;

GdiFont Arial(int height, int weight) {
    return GdiFont(CreateFontA(-height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial"));
}

void Text(HDC dc, int x, int y, const std::string& text) { TextOutA(dc, x, y, text.c_str(), int(text.size())); }

// Phase picture `id` at (x, y), `size` pixels square, as its ball alone: each pixel blended
// over what lies beneath by the share of it the ball covers, so no black square shows around
// the Moon.
void DrawPhasePicture(HDC dc, int id, int x, int y, int size) {
    // The drawing at twice the size from 150 % on (scaled down where less is wanted).
    const HINSTANCE program = GetModuleHandleA(nullptr);
    GdiBitmap picture(size * 2 >= kPhasePictureSize * 3 ? LoadBitmapA(program, MAKEINTRESOURCEA(id + 2000)) : nullptr);
    if (!picture) picture.reset(LoadBitmapA(program, MAKEINTRESOURCEA(id)));
    if (!picture) return;
    BITMAP info = {};
    GetObjectA(picture.get(), sizeof info, &info);
    const int n = info.bmWidth;
    BITMAPINFOHEADER header = DibHeader(n, -n, 32);
    const MemoryDC memory = MemoryDC::CompatibleWith(dc);
    void* bits = nullptr;
    const GdiBitmap pixels(
        CreateDIBSection(memory.get(), reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &bits, nullptr, 0));
    if (pixels &&
        GetDIBits(memory.get(), picture.get(), 0, n, bits, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS) == n) {
        auto* p = static_cast<uint8_t*>(bits);
        for (int py = 0; py < n; ++py) {
            for (int px = 0; px < n; ++px, p += 4) {
                p[3] = PhasePictureCoverage(px, py, n);
                for (int k = 0; k < 3; ++k) p[k] = std::min(p[k], p[3]);  // premultiplied colours never exceed alpha
            }
        }
        const SelectedObject selection(memory.get(), pixels.get());
        const BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        GdiAlphaBlend(dc, x, y, size, size, memory.get(), 0, 0, n, n, blend);
    }
}

}  // namespace

LunarPhasesWindow::~LunarPhasesWindow() { destroy(); }

void LunarPhasesWindow::open() {
    if (hwnd() != nullptr) {
        ShowWindow(hwnd(), SW_SHOW);
        SetForegroundWindow(hwnd());
        return;
    }
    HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_SOLVANE));
    if (!registerClass(kClassName, CS_OWNDC | CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, nullptr, icon)) return;
    // Centred; on a screen too small for it, its banner and left side stay in the work area.
    const RECT r = CentredOnPrimaryDisplay(kWidth, kHeight);
    // Children clipped: the background must not cover the views and the button.
    if (create(WS_EX_CLIENTEDGE, kClassName, "Lunar Phases", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, r.left, r.top,
               r.right - r.left, r.bottom - r.top)) {
        SetForegroundWindow(hwnd());
    }
}

bool LunarPhasesWindow::onCreate() {
    SetTimer(hwnd(), kRefreshTimer, kRefreshMs, nullptr);
    SetTimer(hwnd(), kLookTimer, kLookMs, nullptr);
    // (Seen again, the next frame of the orbit, a twentieth of a second away, is drawn whole.)
    visibility_.watch(hwnd(), nullptr);
    return createChildren();
}

// The views, the button and the fonts, at the window's DPI (all places are given at 96).
bool LunarPhasesWindow::createChildren() {
    dpi_ = WindowDpi(hwnd());
    const auto at = [&](int pixels) { return ScaledToDpi(pixels, dpi_); };
    illumination_ = std::make_unique<IlluminationView>(inputs_);
    if (illumination_->create(hwnd(), at(15), at(125), at(300))) UpdateWindow(illumination_->hwnd());
    orbit_ = std::make_unique<OrbitView>(angles_, labels_, visibility_);
    const ViewPlace o = kOrbitViewPlace;
    orbit_->create(hwnd(), at(o.x), at(o.y), at(o.width), at(o.height), at(kLunarBannerHeight) - at(o.y));
    headingFont_ = Arial(at(20), FW_BOLD);
    textFont_ = Arial(at(13), FW_NORMAL);
    return close_.create(hwnd(), "Close", at(550), at(435), kCloseButton, IDB_FACES_LUNAR_CLOSE);
}

void LunarPhasesWindow::destroyChildren() {
    // The views first, while their objects can still release what they hold; the system
    // would destroy the children only after this.
    if (orbit_) orbit_->destroy();
    if (illumination_) illumination_->destroy();
    illumination_.reset();
    orbit_.reset();
    textFont_.reset();
    headingFont_.reset();
    if (close_.hwnd() != nullptr) DestroyWindow(close_.hwnd());
}

void LunarPhasesWindow::onDestroy() {
    KillTimer(hwnd(), kRefreshTimer);
    KillTimer(hwnd(), kLookTimer);
    visibility_.unwatch();
    destroyChildren();
}

// On a monitor of another DPI (at the size Windows suggests): the children made anew for it.
void LunarPhasesWindow::onDpiLayout(UINT) {
    destroyChildren();
    createChildren();
    InvalidateRect(hwnd(), nullptr, TRUE);
}

// What the window shows now: the phase table and the illumination line.
LunarPhasesWindow::Shown LunarPhasesWindow::now() {
    Shown shown;
    PhaseSelection selection;
    PrepareToday(inputs_, &shown.table, &selection);
    double illumination;
    {
        std::lock_guard<RecursiveLock> hold(inputs_.lock);  // the engine's caches are shared
        illumination = MoonIllumination(inputs_.astro.julianDate);
    }
    shown.illumination = IlluminationText(illumination);
    shown.today = inputs_.clock.localNow().day;
    for (const PhaseEvent& e : shown.table.entries) shown.dates += PhaseDateLabel(e.julianDate) + "|";
    return shown;
}

// Once a minute: when a phase has passed or the illumination moved on, the texts are drawn
// again; when the date has turned, the lit Moon as well (the orbit runs on its own).
void LunarPhasesWindow::onTimer(UINT_PTR id) {
    if (id == kLookTimer) visibility_.lookAgain(hwnd());
    if (id != kRefreshTimer) return;
    const Shown shown = now();
    // Erased first: the texts are drawn without a background of their own.
    if (shown.illumination != shown_.illumination || shown.dates != shown_.dates) InvalidateRect(hwnd(), nullptr, TRUE);
    if (shown.today != shown_.today && illumination_) InvalidateRect(illumination_->hwnd(), nullptr, FALSE);
}

void LunarPhasesWindow::paint() {
    shown_ = now();
    const PhaseTable& table = shown_.table;
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd(), &ps);
    banner_.draw(dc, dpi_, 0, 0);
    SelectedObject fontSelection(dc, textFont_.get());
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    const int h = metrics.tmHeight;
    const auto at = [&](int pixels) { return ScaledToDpi(pixels, dpi_); };
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    for (int i = 0; i < 4; ++i) {
        int bitmap = 0;
        const char* name = PhaseName(table.entries[i].phase, &bitmap);
        // The places for the text's height at 96 DPI, scaled.
        const PhaseEntryPlaces place = PhaseEntryPlacesFor(i, MulDiv(h, int(kBaseDpi), int(dpi_)));
        Text(dc, at(place.nameX), at(place.nameY), name);
        Text(dc, at(place.dateX), at(place.dateY), PhaseDateLabel(table.entries[i].julianDate));
        DrawPhasePicture(dc, bitmap, at(place.pictureX), at(place.pictureY), at(kPhasePictureSize));
    }
    RECT explanation = {at(kExplanation.left), at(kExplanation.top), at(kExplanation.right), at(kExplanation.bottom)};
    const std::string lunarMonth = LoadResourceString(IDS_LUNAR_MONTH);
    DrawTextA(dc, lunarMonth.c_str(), -1, &explanation, DT_WORDBREAK);
    SelectObject(dc, headingFont_.get());
    Text(dc, at(20), at(450) - h, "Current");
    Text(dc, at(20), at(455), shown_.illumination);
    fontSelection.reset();
    EndPaint(hwnd(), &ps);
}

bool LunarPhasesWindow::onCommand(UINT id) {
    if (id != kCloseButton) return false;
    destroy();
    return true;
}

bool LunarPhasesWindow::onEraseBackground(HDC dc) {
    RECT client;
    GetClientRect(hwnd(), &client);
    const GdiBrush background(CreateSolidBrush(kBackground));
    FillRect(dc, &client, background.get());
    return true;
}

bool LunarPhasesWindow::onDrawItem(const DRAWITEMSTRUCT& item) {
    if (item.hwndItem == close_.hwnd()) close_.draw(item);
    return true;
}

void LunarPhasesWindow::onPlacementChanged() { visibility_.recheck(); }

LRESULT LunarPhasesWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        paint();
        return 0;
    case WM_NCHITTEST: {
        // Dragged by the banner: a press there moves the window.
        const LRESULT hit = DefWindowProcA(hwnd(), message, wParam, lParam);
        POINT at = {short(LOWORD(lParam)), short(HIWORD(lParam))};
        ScreenToClient(hwnd(), &at);
        const int left = GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON;
        const bool drag = hit == HTCLIENT && (GetAsyncKeyState(left) & 0x8000) && at.y >= 0 &&
                          at.y < ScaledToDpi(kLunarBannerHeight, dpi_);
        return drag ? HTCAPTION : hit;
    }
    }
    return Window::handleMessage(message, wParam, lParam);
}
