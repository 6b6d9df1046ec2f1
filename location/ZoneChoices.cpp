#include "location/ZoneChoices.h"

#include "app/ZoneRulesReading.h"
#include "platform/WideText.h"

#include <algorithm>
#include <cwchar>
#include <optional>
#include <tuple>

namespace {

std::wstring ZoneDisplayName(std::string_view windowsId) {
    const std::optional<ZoneRules> zone = ReadZoneRules(windowsId);
    return WideFromUtf8(zone && !zone->displayName.empty() ? zone->displayName : std::string(windowsId));
}

// The offset a display name begins with ("(UTC-03:30) ..." is -210 minutes); 0 for a name
// without one.
int DisplayOffsetMinutes(const std::wstring& display) {
    wchar_t sign = 0;
    int hours = 0, minutes = 0;
    if (swscanf(display.c_str(), L"(UTC%lc%d:%d)", &sign, &hours, &minutes) != 3) return 0;
    return (sign == L'-' ? -1 : 1) * (hours * 60 + minutes);
}

}  // namespace

std::vector<ZoneChoice> ZoneChoicesOf(const WorldPlaces& places, const std::string& alsoListed) {
    std::vector<ZoneChoice> choices;
    bool listed = alsoListed.empty();
    for (std::size_t i = 0; i < places.zoneCount(); ++i) {
        const std::string id(places.zone(i).windowsId);
        choices.push_back({id, ZoneDisplayName(id)});
        listed = listed || id == alsoListed;
    }
    if (!listed) choices.push_back({alsoListed, WideFromUtf8(alsoListed)});
    std::stable_sort(choices.begin(), choices.end(), [](const ZoneChoice& a, const ZoneChoice& b) {
        return std::make_tuple(DisplayOffsetMinutes(a.display), a.display) <
               std::make_tuple(DisplayOffsetMinutes(b.display), b.display);
    });
    return choices;
}
