// Saving the user's files of the running program (the options record, the settings file): the
// first save of a file that fails in a run is reported to the user, once, with the file and the
// system's reason. One saver for each file.
#pragma once

#include "app/OptionsStore.h"

#include <functional>
#include <string>

class OptionsSaver {
public:
    // Writes the record; false when it could not be written (the options live on in memory).
    // A first failure is reported at once, or, when `quiet` (during start-up, before there is
    // a window; at the end of a session, when nobody may be there), by reportFailure.
    bool save(const UserOptions& options, const OptionsServices& services, bool quiet);
    // The same for another of the user's files: `write` saves `file`, and gives the system's
    // reason when it fails.
    bool saveFile(const std::string& file, const std::function<bool(std::string* reason)>& write,
                  UserPrompt& prompt, bool quiet);
    // Tells the user of the run's first failed save, unless already told.
    void reportFailure(UserPrompt& prompt);
    void reportFailure(const OptionsServices& services) { reportFailure(services.prompt); }
    // The file could not be read at start-up (the user has been told): it is left as it is for
    // the rest of the run, and every save returns false.
    void leaveFileAlone() { leaveFileAlone_ = true; }

private:
    std::string failedFile_, reason_;  // of the first failure
    bool failed_ = false, reported_ = false, leaveFileAlone_ = false;
};
