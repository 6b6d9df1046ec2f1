#include "app/ZoneRulesReading.h"

std::shared_ptr<const ZoneRules> ZoneRulesCache::find(std::string_view windowsId) {
    std::lock_guard<std::mutex> hold(lock_);
    const auto known = zones_.find(windowsId);
    if (known != zones_.end()) return known->second;
    std::shared_ptr<const ZoneRules> zone;
    if (std::optional<ZoneRules> read = ReadZoneRules(windowsId)) zone = std::make_shared<const ZoneRules>(std::move(*read));
    zones_.emplace(std::string(windowsId), zone);  // a missing zone too, so it is asked once
    return zone;
}

void ZoneRulesCache::forget() {
    std::lock_guard<std::mutex> hold(lock_);
    zones_.clear();
}

ZoneRulesCache& ProgramZones() {
    static ZoneRulesCache zones;
    return zones;
}
