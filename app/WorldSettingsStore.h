// The world settings kept in the per-user settings file by the clock, the one program that
// writes it. Only what the run changed is written, onto the file's own lines; a file edited on
// disk while the clock runs is read again first, so that the edit is not lost.
#pragma once

#include "app/IniFile.h"
#include "app/WorldSettings.h"

#include <string>
#include <vector>

class WorldSettingsStore {
public:
    void setPath(std::string path) { path_ = std::move(path); }
    const std::string& path() const { return path_; }

    // Reads the file (a missing one holds the defaults): the whole of it goes to `file`, for
    // its other choices, and the lines the world settings could not take to `skippedLines`.
    // False when the file is there but could not be read; the caller then leaves it alone.
    bool load(IniFile& file, std::vector<int>& skippedLines);
    // What the file held when last read or written.
    const WorldSettings& stored() const { return stored_; }

    // Writes `current` when it differs from what the file held when last read or written. The
    // file is read again first: only what this run changed since then (the home's zone, the
    // display choice, the list of places, each as a whole) goes onto what it now holds, and
    // `current` takes the rest from it (a hand edit made meanwhile). Written atomically; false when the file could not be
    // read again or written, with the system's reason in `failure` when given.
    bool save(WorldSettings& current, std::string* failure = nullptr);
    // Takes on a hand edit: when the file's text is no longer what was last read or written,
    // it is read again and merged as `save` does. True when it was; false when the file is as
    // it was or could not be read.
    bool followFile(WorldSettings& current);

private:
    bool merge(WorldSettings& current, std::string text, std::string* failure);

    std::string path_;
    std::string lastText_;  // the file's text when last read or written
    WorldSettings stored_;  // what the file held when last read or written
};
