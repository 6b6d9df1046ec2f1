// Saving the options of the running program: a save that fails is reported to the user once
// a run, with the file and the system's reason, and never while the session ends.
#pragma once

#include "app/OptionsStore.h"

class OptionsSaver {
public:
    // Writes the record; false when it could not be written (the options live on in memory).
    bool save(const UserOptions& options, const OptionsServices& services, bool sessionEnding);

private:
    bool failureReported_ = false;
};
