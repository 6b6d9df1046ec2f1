#include "app/EphemerisFile.h"

#include "app/ProgramFiles.h"
#include "astro/Ephemeris.h"
#include "platform/UserPrompt.h"
#include "res/resource.h"

#include <vector>

bool OpenEphemeris(const std::string& programPath, UserPrompt& prompt) {
    const std::string path = FileBesideProgram(programPath, "cheby");
    std::vector<char> name(path.begin(), path.end());
    name.push_back('\0');
    if (EPHOPN(name.data()) != nullptr) return true;
    prompt.error(IDS_NO_EPHEMERIS, IDS_NO_EPHEMERIS_CAPTION);
    return false;
}
