#include "platform/ProgramArguments.h"

#include "platform/WideText.h"

#include <windows.h>

#include <shellapi.h>

std::vector<std::string> ProgramArguments(int, char**) {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 1; wide != nullptr && i < count; ++i) arguments.push_back(Utf8FromWide(std::wstring(wide[i])));
    LocalFree(wide);
    return arguments;
}
