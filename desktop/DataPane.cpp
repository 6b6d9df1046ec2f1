#include "desktop/DataPane.h"

#include "app/ZoneRulesReading.h"
#include "desktop/EarthFrameRules.h"
#include "desktop/HomeSolarEclipse.h"
#include "platform/Dpi.h"
#include "platform/RecursiveLock.h"
#include "platform/Resources.h"
#include "platform/WideText.h"
#include "render/GlyphFont.h"
#include "res/resource.h"

#include <algorithm>
#include <mutex>

namespace {

const char kClassName[] = "SolvaneDataPane";
constexpr COLORREF kBackground = RGB(0, 2, 22);
constexpr COLORREF kLabelColour = RGB(128, 128, 198);
constexpr COLORREF kValueColour = RGB(255, 255, 255);

}  // namespace

bool DataPane::create(HWND parent, int id) {
    if (!registerClass(kClassName, CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_OWNDC)) return false;
    return Window::create(0, kClassName, "DataPane", WS_CHILD, 0, 0, 300, 300, parent,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
}

void DataPane::onPaint(HDC target) {
    if (backBuffer_.dc() == nullptr) return;
    HDC dc = backBuffer_.dc();
    const int w = backBuffer_.width(), h = backBuffer_.height();
    // The font for the pane's DPI, made anew when the window moves to a monitor of another.
    const UINT dpi = WindowDpi(hwnd());
    if (!font_ || fontDpi_ != dpi) {
        const LOGFONTA description = ArialFont(ScaledToDpi(12, dpi), FW_NORMAL);
        font_.reset(CreateFontIndirectA(&description));
        fontDpi_ = dpi;
        // The decoration drawn at twice its size from 150 % on.
        const HINSTANCE program = GetModuleHandleA(nullptr);
        decoration_.reset(ArtPercentFor(dpi) > 100 ? LoadBitmapA(program, MAKEINTRESOURCEA(IDB_PANE_DECORATION + 2000))
                                                   : nullptr);
        if (!decoration_) decoration_.reset(LoadBitmapA(program, MAKEINTRESOURCEA(IDB_PANE_DECORATION)));
    }
    if (background_.dc() == nullptr || background_.width() != w || background_.height() != h ||
        backgroundDpi_ != dpi) {
        drawBackground(w, h, dpi);
    }
    if (background_.dc() != nullptr) {
        BitBlt(dc, 0, 0, w, h, background_.dc(), 0, 0, SRCCOPY);
    } else {
        // No memory for the kept background: the plain colour, and no old texts under the new.
        const RECT all = {0, 0, w, h};
        const GdiBrush background(CreateSolidBrush(kBackground));
        FillRect(dc, &all, background.get());
    }
    const SelectedObject fontSelection(dc, font_.get());
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    SetBkMode(dc, TRANSPARENT);
    for (const PaneText& text : texts(w, metrics.tmHeight, int(dpi))) {
        SetTextColor(dc, text.label ? kLabelColour : kValueColour);
        if (text.width == 0) {
            TextOutA(dc, text.x, text.y, text.text.c_str(), int(text.text.size()));
            continue;
        }
        RECT room = {text.rightAligned ? text.x - text.width : text.x, text.y, 0, text.y + metrics.tmHeight};
        room.right = room.left + text.width;
        DrawTextA(dc, text.text.c_str(), int(text.text.size()), &room,
                  DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS | (text.rightAligned ? DT_RIGHT : DT_LEFT));
    }
    BitBlt(target, 0, 0, w, h, dc, 0, 0, SRCCOPY);
}

// The pane without its texts, drawn once for a size and DPI: its halftone stretch of the
// decoration is the dearest part of a second's redraw.
void DataPane::drawBackground(int w, int h, UINT dpi) {
    if (!background_.create(w, h)) return;
    HDC dc = background_.dc();
    backgroundDpi_ = dpi;
    const RECT all = {0, 0, w, h};
    const GdiBrush background(CreateSolidBrush(kBackground));
    FillRect(dc, &all, background.get());
    if (decoration_) {
        const MemoryDC source = MemoryDC::CompatibleWith(dc);
        const SelectedObject selection(source.get(), decoration_.get());
        // The Earth's limb along the whole bottom of the pane, however wide.
        SetStretchBltMode(dc, HALFTONE);
        SetBrushOrgEx(dc, 0, 0, nullptr);
        const int limb = ScaledToDpi(80, dpi);
        BITMAP size = {};
        GetObjectA(decoration_.get(), sizeof size, &size);
        StretchBlt(dc, 0, h - limb, w, limb, source.get(), 0, 0, size.bmWidth, size.bmHeight, SRCCOPY);
    }
}

std::vector<PaneText> DataPane::texts(int width, int charHeight, int dpi) const {
    std::lock_guard<RecursiveLock> hold(shared_.lock);
    const std::optional<HomeZoneDay> home = homeZoneDay();
    const std::string note =
        HomeSolarEclipseNote(LoadResourceString(IDS_SOLAR_ECLIPSE_AT_HOME), shared_.astro.julianDate,
                             shared_.options.homeLatitude, shared_.options.homeLongitude);
    return DataPaneTexts(shared_.options, shared_.astro, width, charHeight, dpi, home ? &*home : nullptr, note);
}

std::optional<HomeZoneDay> DataPane::homeZoneDay() const {
    const std::string& id = shared_.world.homeTimeZone;
    if (id.empty()) return std::nullopt;
    const std::shared_ptr<const ZoneRules> found = ProgramZones().find(id);
    const ZoneRules rules = found ? *found : UtcZoneRules();
    const AstroState& s = shared_.astro;
    CivilTime utc;
    utc.year = s.utcYear, utc.month = s.utcMonth, utc.day = s.utcDay;
    utc.hour = s.utcHour, utc.minute = s.utcMinute, utc.second = s.utcSecond;
    const int64_t now = SecondsOfUtc(utc);
    const double latitude = shared_.options.homeLatitude, longitude = shared_.options.homeLongitude;
    if (!day_ || dayZone_ != id || dayLatitude_ != latitude || dayLongitude_ != longitude || now < day_->startUtc ||
        now >= day_->endUtc) {
        day_ = PlaceDayAt(latitude, longitude, rules, now);
        dayZone_ = id;
        dayLatitude_ = latitude;
        dayLongitude_ = longitude;
    }
    HomeZoneDay home = HomeZoneDayOf(*day_, rules, now);
    // The pane draws in the ANSI code page: a name it cannot show whole gives way to the id.
    std::string ansi;
    std::vector<std::wstring> lost;
    home.zoneName = AnsiFromWide(WideFromUtf8(home.zoneName), ansi, lost) ? ansi : id;
    if (!found) {
        home.zoneName = LoadResourceString(IDS_HOME_ZONE_MISSING);
        const std::size_t mark = home.zoneName.find("%s");
        if (mark != std::string::npos) home.zoneName.replace(mark, 2, id);
    }
    return home;
}

// The pane's texts as its window text, for screen readers and other programs: a line per
// row of the pane, its labels and values left to right.
std::string DataPane::text() const {
    std::vector<PaneText> texts = this->texts(backBuffer_.width(), 12, 96);
    std::stable_sort(texts.begin(), texts.end(),
                     [](const PaneText& a, const PaneText& b) { return a.y != b.y ? a.y < b.y : a.x < b.x; });
    std::string all;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        all += texts[i].text;
        all += i + 1 < texts.size() && texts[i + 1].y == texts[i].y ? " " : "\r\n";
    }
    return all;
}

bool DataPane::onEraseBackground(HDC) { return true; }

void DataPane::onSize(int width, int height, UINT) { backBuffer_.create(width, height); }

void DataPane::onDestroy() {
    backBuffer_.destroy();
    background_.destroy();
}

LRESULT DataPane::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_TIMECHANGE: {
        std::lock_guard<RecursiveLock> hold(shared_.lock);
        day_.reset();
        return 0;
    }
    case WM_GETTEXTLENGTH:
        return LRESULT(text().size());
    case WM_GETTEXT: {
        if (wParam == 0) return 0;
        const std::string all = text();
        lstrcpynA(reinterpret_cast<char*>(lParam), all.c_str(), int(wParam));
        return LRESULT(std::min<std::size_t>(all.size(), wParam - 1));
    }
    }
    return Window::handleMessage(message, wParam, lParam);
}
