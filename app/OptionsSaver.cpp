#include "app/OptionsSaver.h"

#include "platform/UserPrompt.h"
#include "res/resource.h"

bool OptionsSaver::save(const UserOptions& options, const OptionsServices& services, bool quiet) {
    return saveFile(
        services.optionsFile, [&](std::string* reason) { return SaveOptions(options, services, reason); },
        services.prompt, quiet);
}

bool OptionsSaver::saveFile(const std::string& file, const std::function<bool(std::string* reason)>& write,
                            UserPrompt& prompt, bool quiet) {
    if (leaveFileAlone_) return false;
    std::string reason;
    if (write(&reason)) return true;
    if (!failed_) {
        failed_ = true;
        failedFile_ = file;
        reason_ = reason;
    }
    if (!quiet) reportFailure(prompt);
    return false;
}

void OptionsSaver::reportFailure(UserPrompt& prompt) {
    if (!failed_ || reported_) return;
    reported_ = true;
    prompt.warnFormatted(IDS_OPTIONS_NOT_SAVED, IDS_WARNING_CAPTION, {failedFile_, reason_});
}
