// The current user's own folders for what a program writes, in UTF-8, ending in a separator;
// empty when the system cannot say.
#pragma once

#include <string>

// Settings that follow the user from PC to PC (Windows: the roaming application data folder).
std::string RoamingDataFolder();

// Files that belong on this PC only, such as pictures made from the settings (Windows: the
// local application data folder).
std::string LocalDataFolder();
