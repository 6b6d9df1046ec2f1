#include "app/EphemerisFile.h"

#include "app/ProgramFiles.h"
#include "astro/Ephemeris.h"
#include "platform/UserPrompt.h"
#include "res/resource.h"

bool OpenEphemerisFile(const std::string& path) { return EPHOPN(path.c_str()) != nullptr; }

bool OpenEphemeris(const std::string& programPath, UserPrompt& prompt) {
    if (OpenEphemerisFile(FileBesideProgram(programPath, "cheby"))) return true;
    prompt.error(IDS_NO_EPHEMERIS, IDS_NO_EPHEMERIS_CAPTION);
    return false;
}
