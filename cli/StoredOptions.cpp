#include "cli/StoredOptions.h"

#include "app/OptionsStore.h"
#include "app/ProgramFiles.h"
#include "platform/FileAccess.h"

#include <cmath>

bool HomeIsOnEarth(const UserOptions& options) {
    return std::isfinite(options.homeLatitude) && std::fabs(options.homeLatitude) <= 90 &&
           std::isfinite(options.homeLongitude) && std::fabs(options.homeLongitude) <= 180;
}

UserOptions StoredOptions(const std::string& programPath) {
    UserOptions stored;
    if (ReadFileOfExactSize(FileBesideProgram(programPath, kOptionsFileName), &stored,
                            sizeof stored) == FileReadResult::Read &&
        HomeIsOnEarth(stored)) {
        return stored;
    }
    UserOptions defaults;
    SetDefaultOptions(defaults);
    return defaults;
}
