#include "app/OptionsSaver.h"

#include "app/ProgramFiles.h"
#include "platform/UserPrompt.h"
#include "res/resource.h"

bool OptionsSaver::save(const UserOptions& options, const OptionsServices& services,
                        bool sessionEnding) {
    std::string reason;
    if (SaveOptions(options, services, &reason)) return true;
    // Nobody may be there to answer at the end of a session, and a box that holds up the exit
    // would cost what is left of the time Windows allows.
    if (!failureReported_ && !sessionEnding) {
        failureReported_ = true;
        services.prompt.warnFormatted(IDS_OPTIONS_NOT_SAVED, IDS_WARNING_CAPTION,
                                      {FileBesideProgram(services.programPath, kOptionsFileName),
                                       reason});
    }
    return false;
}
