#include "ui/HelpPage.h"

#include "app/ProgramFiles.h"
#include "platform/ProgramPath.h"

#include <windows.h>

#include <shellapi.h>

void OpenHelpPage(const char* relativePath, int show) {
    const std::string page = FileBesideProgram(ProgramPath(), relativePath);
    ShellExecuteA(nullptr, "open", page.c_str(), nullptr, nullptr, show);
}
