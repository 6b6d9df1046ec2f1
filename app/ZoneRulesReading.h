// Reading a Windows time zone's rules from this system. On Windows from the registry
// (HKLM\SOFTWARE\Microsoft\Windows NT\CurrentVersion\Time Zones\<id>: TZI, Std, Dlt, Display and
// the Dynamic DST key), so that Windows' own updates keep them right. On other systems from
// the system's zone data for the IANA zone the id stands for (SetHostZoneNames).
#pragma once

#include "app/ZoneRules.h"

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

// The zone with this Windows id ("Tokyo Standard Time"), or none when this system has no such
// zone or its values cannot be right.
std::optional<ZoneRules> ReadZoneRules(std::string_view windowsId);

#ifndef _WIN32
// The IANA zone of each Windows id ("Tokyo Standard Time" -> "Asia/Tokyo"), which the host's
// ReadZoneRules reads; ids not given are not found. Replaces what was given before.
void SetHostZoneNames(std::map<std::string, std::string, std::less<>> windowsToIana);
#endif

// Zones read once and shared between threads (UI, wallpaper, saver).
class ZoneRulesCache {
public:
    // The zone with this id; null when this system has none.
    std::shared_ptr<const ZoneRules> find(std::string_view windowsId);
    // Forgets every zone read, so that the next use reads again (after a time change).
    void forget();

private:
    std::mutex lock_;
    std::map<std::string, std::shared_ptr<const ZoneRules>, std::less<>> zones_;
};

// The program's one cache of zones, shared by its windows and the threads that draw.
ZoneRulesCache& ProgramZones();
