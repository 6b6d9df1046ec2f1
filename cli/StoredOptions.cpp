#include "cli/StoredOptions.h"

#include "app/OptionsStore.h"
#include "platform/FileAccess.h"

#include <cmath>

bool HomeIsOnEarth(const UserOptions& options) {
    return std::isfinite(options.homeLatitude) && std::fabs(options.homeLatitude) <= 90 &&
           std::isfinite(options.homeLongitude) && std::fabs(options.homeLongitude) <= 180;
}

UserOptions StoredOptions(const std::string& programPath) {
    UserOptions stored;
    const std::string file = OptionsFileToRead(programPath, UserFileFoldersFor(programPath));
    if (ReadFileOfExactSize(file, &stored, sizeof stored) == FileReadResult::Read &&
        HomeIsOnEarth(stored)) {
        return stored;
    }
    UserOptions defaults;
    SetDefaultOptions(defaults);
    return defaults;
}
