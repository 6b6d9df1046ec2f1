#include "almanac/EclipsesDialog.h"

#include "app/ClockSettings.h"
#include "app/EclipseWatch.h"
#include "app/Formatting.h"
#include "app/ZoneRulesReading.h"
#include "astro/JulianDate.h"
#include "platform/Resources.h"
#include "platform/WideText.h"
#include "res/resource.h"
#include "ui/SkinBrushes.h"
#include "ui/SkinGeometry.h"

#include <cmath>
#include <string>
#include <vector>

namespace {

int TypeNameId(EclipseType type) {
    switch (type) {
    case EclipseType::kPartial: return IDS_ECLIPSE_TYPE_PARTIAL;
    case EclipseType::kAnnular: return IDS_ECLIPSE_TYPE_ANNULAR;
    case EclipseType::kTotal: return IDS_ECLIPSE_TYPE_TOTAL;
    case EclipseType::kHybrid: return IDS_ECLIPSE_TYPE_HYBRID;
    default: return IDS_ECLIPSE_TYPE_PENUMBRAL;
    }
}

std::string Ansi(const std::wstring& wide) {
    std::string ansi;
    std::vector<std::wstring> lost;
    AnsiFromWide(wide, ansi, lost);
    return ansi;
}

// The civil time and zone name of `utcJd` at home: in the home's named zone when it has one
// (UTC for a zone this PC lacks), else in the PC's.
std::string HomeTimeText(double utcJd, const std::string& homeZone, const UserOptions& options) {
    const int64_t seconds = UnixSecondsOfJulianDate(utcJd);
    CivilTime local;
    std::string zoneName;
    if (!homeZone.empty()) {
        const std::shared_ptr<const ZoneRules> found = ProgramZones().find(homeZone);
        const ZoneRules rules = found ? *found : UtcZoneRules();
        const ZoneTime at = ZoneTimeAt(rules, seconds);
        local = at.local;
        zoneName = ZoneNameAt(rules, at.daylight);
        zoneName = Ansi(WideFromUtf8(zoneName));
    } else {
        const CivilTime utc = UtcOfSeconds(seconds);
        SYSTEMTIME u = {WORD(utc.year), WORD(utc.month), 0, WORD(utc.day), WORD(utc.hour), WORD(utc.minute),
                        WORD(utc.second), 0};
        SYSTEMTIME l = u;
        SystemTimeToTzSpecificLocalTime(nullptr, &u, &l);
        local = {l.wYear, l.wMonth, l.wDay, l.wDayOfWeek, l.wHour, l.wMinute, l.wSecond};
        TIME_ZONE_INFORMATION zone = {};
        GetTimeZoneInformation(&zone);
        const int64_t offset = (SecondsOfUtc(local) - SecondsOfUtc(utc)) / 60;
        const bool daylight = zone.DaylightDate.wMonth != 0 && offset == -(zone.Bias + zone.DaylightBias);
        zoneName = Ansi(daylight ? zone.DaylightName : zone.StandardName);
    }
    // To the minute, the seconds dropped: the date stays that of the time shown.
    const std::string time = FormatEventTime(local.hour + local.minute / 60.0, options);
    return Printf("%s %d, %d  %s  %s", MonthName(local.month).c_str(), local.day, local.year, time.c_str(),
                  zoneName.c_str());
}

std::string EclipseText(const std::optional<Eclipse>& e, int headingId, const std::string& homeZone,
                        const UserOptions& options) {
    const std::string heading = LoadResourceString(headingId);
    if (!e) return Printf(heading.c_str(), LoadResourceString(IDS_ECLIPSE_NONE).c_str());
    std::string text = Printf(heading.c_str(), LoadResourceString(TypeNameId(e->type)).c_str()) + "\r\n" +
                       HomeTimeText(e->greatestUtcJd, homeZone, options) + "\r\n";
    if (!e->home.visible) return text + LoadResourceString(IDS_ECLIPSE_NOT_SEEN);
    if (e->kind == EclipseKind::kLunar) return text + LoadResourceString(IDS_ECLIPSE_SEEN_LUNAR);
    const std::string percent = Printf("%d", int(std::lround(e->home.obscuration * 100)));
    return text + Printf(LoadResourceString(IDS_ECLIPSE_SEEN_SOLAR).c_str(), percent.c_str());
}

}  // namespace

EclipsesDialog::EclipsesDialog(const EclipseWatch* eclipses, ClockSettings& settings)
    : SkinnedDialog(IDD_ECLIPSES, {IDB_BANNER_ECLIPSES, 166, kBannerBandHeight, ControlColours::Light,
                                   {{IDOK, IDB_FACES_LUNAR_CLOSE}}, {}},
                    SharedSkinBrushes()),
      eclipses_(eclipses), settings_(settings) {}

void EclipsesDialog::open() {
    if (hwnd() == nullptr && !openModeless(nullptr)) return;
    ShowWindow(hwnd(), SW_SHOWNORMAL);
    SetForegroundWindow(hwnd());
}

bool EclipsesDialog::onInitDialog() {
    // The times follow the home's zone and the clock's hour format as they change.
    listener_ = settings_.listen([hwnd = hwnd()](const Settings& before, const Settings& after) {
        const uint32_t hours24 = before.options.displayFlags ^ after.options.displayFlags;
        if (before.world.homeTimeZone != after.world.homeTimeZone || (hours24 & kLocalTime24Hour) != 0) {
            PostMessageA(hwnd, WM_ECLIPSES_CHANGED, 0, 0);
        }
    });
    showOutlook();
    return true;
}

void EclipsesDialog::onDestroy() {
    settings_.forget(listener_);
    listener_ = -1;
}

bool EclipsesDialog::handleMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
    if (message == WM_ECLIPSES_CHANGED) {
        showOutlook();
        result = 0;
        return true;
    }
    return SkinnedDialog::handleMessage(message, wParam, lParam, result);
}

void EclipsesDialog::showOutlook() {
    const EclipseOutlook outlook = eclipses_ != nullptr ? eclipses_->outlook() : EclipseOutlook{};
    std::string solar, lunar;
    if (outlook.state == EclipseOutlook::State::kNoEphemeris) {
        solar = LoadResourceString(IDS_ECLIPSE_NO_EPHEMERIS);
    } else if (outlook.state == EclipseOutlook::State::kSearching) {
        solar = LoadResourceString(IDS_ECLIPSE_SEARCHING);
    } else {
        const std::string zone = settings_.world().homeTimeZone;
        const UserOptions options = settings_.snapshot();
        solar = EclipseText(outlook.solar, IDS_ECLIPSE_NEXT_SOLAR, zone, options);
        lunar = EclipseText(outlook.lunar, IDS_ECLIPSE_NEXT_LUNAR, zone, options);
    }
    SetDlgItemTextA(hwnd(), IDC_ECLIPSE_SOLAR, solar.c_str());
    SetDlgItemTextA(hwnd(), IDC_ECLIPSE_LUNAR, lunar.c_str());
}
