// Windows' zones from the registry, where Windows' updates keep them (the calls that would
// enumerate them are not on Windows 7).
#include "app/ZoneRulesReading.h"

#include "platform/HandleOwners.h"
#include "platform/WideText.h"

#include <windows.h>

#include <string>

namespace {

const wchar_t kZonesKey[] = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones\\";

bool OpenKey(HKEY parent, const std::wstring& path, RegistryKey& key) {
    HKEY handle = nullptr;
    if (RegOpenKeyExW(parent, path.c_str(), 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY, &handle) != ERROR_SUCCESS) {
        return false;
    }
    key.reset(handle);
    return true;
}

bool ReadBytes(HKEY key, const wchar_t* name, DWORD wantedType, std::string& bytes) {
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS || type != wantedType) {
        return false;
    }
    bytes.assign(size, '\0');
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(bytes.data()), &size) != ERROR_SUCCESS ||
        type != wantedType) {
        return false;
    }
    bytes.resize(size);
    return true;
}

// A REG_SZ value as UTF-8, without the terminating NULs; empty when missing.
std::string ReadText(HKEY key, const wchar_t* name) {
    std::string bytes;
    if (!ReadBytes(key, name, REG_SZ, bytes)) return {};
    std::wstring wide(bytes.size() / sizeof(wchar_t), L'\0');
    bytes.copy(reinterpret_cast<char*>(wide.data()), wide.size() * sizeof(wchar_t));
    while (!wide.empty() && wide.back() == L'\0') wide.pop_back();
    return Utf8FromWide(wide);
}

bool ReadRule(HKEY key, const wchar_t* name, ZoneYearRule& rule) {
    std::string bytes;
    return ReadBytes(key, name, REG_BINARY, bytes) &&
           DecodeZoneYearRule(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), rule);
}

bool ReadNumber(HKEY key, const wchar_t* name, int32_t& number) {
    std::string bytes;
    if (!ReadBytes(key, name, REG_DWORD, bytes) || bytes.size() != sizeof(DWORD)) return false;
    DWORD value = 0;
    bytes.copy(reinterpret_cast<char*>(&value), sizeof value);
    number = int32_t(value);
    return true;
}

// The Dynamic DST key's years, when it has them all; otherwise the zone keeps its TZI alone.
void ReadYears(HKEY zoneKey, ZoneRules& zone) {
    RegistryKey dynamic;
    int32_t first = 0, last = 0;
    if (!OpenKey(zoneKey, L"Dynamic DST", dynamic) || !ReadNumber(dynamic.get(), L"FirstEntry", first) ||
        !ReadNumber(dynamic.get(), L"LastEntry", last) || first < 1601 || last < first || last > 30827) {
        return;
    }
    std::vector<ZoneYearRule> years(std::size_t(last - first + 1));
    for (int32_t year = first; year <= last; ++year) {
        if (!ReadRule(dynamic.get(), std::to_wstring(year).c_str(), years[std::size_t(year - first)])) return;
    }
    zone.firstYear = first;
    zone.lastYear = last;
    zone.years = std::move(years);
}

}  // namespace

std::optional<ZoneRules> ReadZoneRules(std::string_view windowsId) {
    if (windowsId.empty() || windowsId.find('\\') != std::string_view::npos) return std::nullopt;
    RegistryKey key;
    if (!OpenKey(HKEY_LOCAL_MACHINE, kZonesKey + WideFromUtf8(std::string(windowsId)), key)) return std::nullopt;
    ZoneRules zone;
    if (!ReadRule(key.get(), L"TZI", zone.rule)) return std::nullopt;
    zone.windowsId = std::string(windowsId);
    zone.displayName = ReadText(key.get(), L"Display");
    zone.standardName = ReadText(key.get(), L"Std");
    zone.daylightName = ReadText(key.get(), L"Dlt");
    if (zone.standardName.empty()) zone.standardName = zone.windowsId;
    ReadYears(key.get(), zone);
    return zone;
}
