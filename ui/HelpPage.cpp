#include "ui/HelpPage.h"

#include "app/ProgramFiles.h"
#include "platform/MessageBoxPrompt.h"
#include "platform/ProgramPath.h"
#include "platform/ShellOpen.h"
#include "res/resource.h"

void OpenPage(const std::string& target, int show) {
    std::string failure;
    if (OpenWithShell(nullptr, target, show, &failure)) return;
    MessageBoxPrompt().warnFormatted(IDS_OPEN_FAILED, IDS_WARNING_CAPTION, {target, failure});
}

void OpenHelpPage(const char* relativePath, int show) {
    // The folder beside the program already ends in a separator.
    while (*relativePath == '\\' || *relativePath == '/') ++relativePath;
    OpenPage(FileBesideProgram(ProgramPath(), relativePath), show);
}
