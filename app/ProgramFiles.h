// Where the programs find their own files and keep each user's.
#pragma once

#include <string>

// The program file's path cut after its last backslash (or slash), with `name` appended.
std::string FileBesideProgram(const std::string& programPath, const std::string& name);

// A read-only data file shipped with the program: the one beside the program when it is
// there, else `name` as it stands (found in the current directory, or not at all).
std::string DataFilePath(const std::string& programPath, const std::string& name);

// A file of this name beside the program keeps the user's files beside it too (a copy on a
// USB stick).
extern const char kPortableMarkerName[];  // "portable"

// The folders of the current user's files, each ending in a separator.
struct UserFileFolders {
    std::string settings;  // the options record
    std::string pictures;  // the wallpaper
    bool portable = false;  // both are the program's own folder
};

// Installed (the usual case): the user's roaming and local application data folders, each
// with "Solvane" appended (made when first written). Portable, when the marker file lies
// beside the program or the system names no user folders: the program's folder.
UserFileFolders UserFileFoldersFor(const std::string& programPath);
