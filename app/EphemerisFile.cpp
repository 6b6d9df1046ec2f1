#include "app/EphemerisFile.h"

#include "app/ProgramFiles.h"
#include "astro/Ephemeris.h"
#include "platform/UserPrompt.h"
#include "res/resource.h"

#include <vector>

bool OpenEphemerisFile(const std::string& path) {
    std::vector<char> name(path.begin(), path.end());
    name.push_back('\0');
    return EPHOPN(name.data()) != nullptr;
}

bool OpenEphemeris(const std::string& programPath, UserPrompt& prompt) {
    if (OpenEphemerisFile(FileBesideProgram(programPath, "cheby"))) return true;
    prompt.error(IDS_NO_EPHEMERIS, IDS_NO_EPHEMERIS_CAPTION);
    return false;
}
