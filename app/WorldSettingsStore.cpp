#include "app/WorldSettingsStore.h"

#include "app/WorldSettingsFile.h"
#include "platform/FileAccess.h"

bool WorldSettingsStore::load(IniFile& file, std::vector<int>& skippedLines) {
    std::string text;
    const bool read = ReadIniText(path_, text);
    file = IniFile(text);
    stored_ = ReadWorldSettings(file, skippedLines);
    lastText_ = text;
    return read;
}

bool WorldSettingsStore::save(WorldSettings& current, std::string* failure) {
    if (current == stored_) return true;
    std::string text;
    if (!ReadIniText(path_, text, failure)) return false;
    return merge(current, std::move(text), failure);
}

bool WorldSettingsStore::followFile(WorldSettings& current) {
    std::string text;
    if (!ReadIniText(path_, text) || text == lastText_) return false;
    return merge(current, std::move(text), nullptr);
}

bool WorldSettingsStore::merge(WorldSettings& current, std::string text, std::string* failure) {
    IniFile file(text);
    std::vector<int> skipped;  // told of at start; kept as they stand
    const WorldSettings onDisk = ReadWorldSettings(file, skipped);
    WorldSettings merged = onDisk;
    if (current.homeTimeZone != stored_.homeTimeZone) merged.homeTimeZone = current.homeTimeZone;
    if (current.showPlaces != stored_.showPlaces) merged.showPlaces = current.showPlaces;
    if (current.twilightBands != stored_.twilightBands) merged.twilightBands = current.twilightBands;
    if (current.places != stored_.places) merged.places = current.places;
    if (merged != onDisk) {
        WriteWorldSettings(merged, file);
        text = file.text();
        if (!ReplaceFileAtomically(path_, text.data(), text.size(), failure)) return false;
    }
    lastText_ = text;
    stored_ = merged;
    current = merged;
    return true;
}
