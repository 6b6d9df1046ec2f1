#include "app/OptionsSaver.h"

#include "platform/UserPrompt.h"
#include "res/resource.h"

bool OptionsSaver::save(const UserOptions& options, const OptionsServices& services, bool quiet) {
    if (leaveFileAlone_) return false;
    std::string reason;
    if (SaveOptions(options, services, &reason)) return true;
    if (!failed_) {
        failed_ = true;
        failedFile_ = services.optionsFile;
        reason_ = reason;
    }
    if (!quiet) reportFailure(services);
    return false;
}

void OptionsSaver::reportFailure(const OptionsServices& services) {
    if (!failed_ || reported_) return;
    reported_ = true;
    services.prompt.warnFormatted(IDS_OPTIONS_NOT_SAVED, IDS_WARNING_CAPTION, {failedFile_, reason_});
}
