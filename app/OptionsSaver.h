// Saving the options of the running program: the first save that fails in a run is reported to
// the user, once, with the file and the system's reason.
#pragma once

#include "app/OptionsStore.h"

#include <string>

class OptionsSaver {
public:
    // Writes the record; false when it could not be written (the options live on in memory).
    // A first failure is reported at once, or, when `quiet` (during start-up, before there is
    // a window; at the end of a session, when nobody may be there), by reportFailure.
    bool save(const UserOptions& options, const OptionsServices& services, bool quiet);
    // Tells the user of the run's first failed save, unless already told.
    void reportFailure(const OptionsServices& services);
    // The options file could not be read at start-up (the user has been told): it is left as
    // it is for the rest of the run, and every save returns false.
    void leaveFileAlone() { leaveFileAlone_ = true; }

private:
    std::string failedFile_, reason_;  // of the first failure
    bool failed_ = false, reported_ = false, leaveFileAlone_ = false;
};
