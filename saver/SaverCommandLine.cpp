#include "saver/SaverCommandLine.h"

#include <cctype>
#include <cstdlib>

SaverCommand ParseSaverCommandLine(const char* arguments) {
    SaverCommand command;
    if (arguments == nullptr) return command;
    const char* p = arguments;
    while (*p == ' ' || *p == '\t') ++p;
    if (*p != '/' && *p != '-') return command;
    switch (std::tolower(static_cast<unsigned char>(p[1]))) {
    case 's': command.mode = SaverMode::Run; break;
    case 'p': command.mode = SaverMode::Preview; break;
    case 'a': command.mode = SaverMode::ChangePassword; break;
    case 'c': command.mode = SaverMode::Configure; break;
    default: return command;
    }
    p += 2;
    while (*p == ' ' || *p == '\t' || *p == ':') ++p;
    if (std::isdigit(static_cast<unsigned char>(*p))) command.window = uintptr_t(std::strtoull(p, nullptr, 10));
    // A preview needs its window.
    if (command.mode == SaverMode::Preview && command.window == 0) command.mode = SaverMode::Configure;
    return command;
}
