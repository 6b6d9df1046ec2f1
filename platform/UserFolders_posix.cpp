#include "platform/UserFolders.h"

#include <cstdlib>

namespace {

// $variable when set and absolute, else $HOME/fallback; with a trailing slash.
std::string XdgFolder(const char* variable, const char* fallback) {
    const char* set = std::getenv(variable);
    if (set != nullptr && set[0] == '/') return std::string(set) + "/";
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] != '/') return std::string();
    return std::string(home) + "/" + fallback + "/";
}

}  // namespace

std::string RoamingDataFolder() { return XdgFolder("XDG_CONFIG_HOME", ".config"); }

std::string LocalDataFolder() { return XdgFolder("XDG_CACHE_HOME", ".cache"); }
