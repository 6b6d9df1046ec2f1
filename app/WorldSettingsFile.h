// The world settings in the per-user settings file, in a shape users and scripts can edit:
//   [Home]     TimeZone=<a Windows zone id>   (missing or empty: this PC's time zone)
//   [Display]  ShowPlaces=1 or 0              (missing: 1)
//              TwilightBands=1 or 0           (missing: 0)
//   [Place1] .. [Place32]  Name, Latitude (degrees north), Longitude (degrees east),
//              TimeZone, Show=1 or 0 (missing: 1)
// Places are taken in the order of their sections' numbers, whatever the order in the file.
#pragma once

#include "app/IniFile.h"
#include "app/WorldSettings.h"

#include <string>
#include <vector>

// What the file holds. A value it cannot take leaves the default, and its line is added to
// `skippedLines`; so is the header of a place that lacks a name, coordinates or a zone, or has
// one it cannot take (the place is left out), and of each place after the 32nd. Reporting is
// the caller's.
WorldSettings ReadWorldSettings(const IniFile& file, std::vector<int>& skippedLines);

// Edits the file so that it holds `settings`, touching only what differs from what it holds.
// When the places differ, their sections are written again in the list's order, numbered from
// 1, where the first of them stood: a place still in the list keeps the other keys, comments
// and damaged lines of its section; places the reading left out keep their sections whole,
// numbered after the list's. Every other section stays as it is.
void WriteWorldSettings(const WorldSettings& settings, IniFile& file);

// For programs that only read the file: the world settings of the file at `iniPath` (a missing
// file holds the defaults). False when the file is there but could not be read; `out` then
// holds the defaults. Lines it cannot take are left out silently.
bool LoadWorldSettings(const std::string& iniPath, WorldSettings& out);
