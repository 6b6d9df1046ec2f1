// solvane-render: draws the wallpaper's Earth for any instant into a Windows bitmap file.
#include "app/ClockState.h"
#include "app/EphemerisFile.h"
#include "app/ProgramFiles.h"
#include "astro/Ephemeris.h"
#include "astro/FixedClock.h"
#include "cli/Arguments.h"
#include "cli/RenderRequest.h"
#include "cli/StoredOptions.h"
#include "platform/ProgramArguments.h"
#include "platform/ProgramPath.h"
#include "platform/RecursiveLock.h"
#include "platform/SystemClock.h"
#include "render/MatrixMath.h"
#include "render/Viewpoint.h"
#include "render/WallpaperEarth.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

// The defaults with the request's view and flags, and the home of the request, else of the
// options file beside the program.
UserOptions RequestOptions(const std::string& programPath, const RenderRequest& request) {
    UserOptions options;
    SetDefaultOptions(options);
    const UserOptions stored = StoredOptions(programPath);
    options.homeLatitude = stored.homeLatitude;
    options.homeLongitude = stored.homeLongitude;
    if (request.latitude) options.homeLatitude = float(*request.latitude);
    if (request.longitude) options.homeLongitude = float(*request.longitude);
    options.viewpoint = request.viewpoint;
    options.displayFlags = request.displayFlags;
    return options;
}

}  // namespace

int main(int argc, char** argv) {
    RenderRequest request;
    std::string error;
    if (!ParseRenderArguments(ProgramArguments(argc, argv), &request, &error)) {
        return UsageError("solvane-render", error, kRenderUsage);
    }
    const std::string programPath = ProgramPath();
    if (!OpenEphemerisFile(FileBesideProgram(programPath, "cheby"))) return 1;

    const UserOptions options = RequestOptions(programPath, request);
    FixedClock clock(request.utc ? *request.utc : SystemClock().utcNow(), 0);
    AstroState state = {};
    UpdateAstroState(state, options, clock, true);

    DragOrientation drag;
    drag.turnHalf();
    WallpaperRequest picture = {request.width, request.height, {}};
    picture.scene = SceneOf(state, options, false);
    drag.matrix(picture.scene.drag);
    RecursiveLock engineLock;
    WallpaperRenderer renderer;
    // A band at a time: the largest pictures need no buffer of their own size.
    if (!WriteWallpaperFile(renderer, picture, engineLock, request.output)) {
        std::fprintf(stderr, "solvane-render: cannot draw or write %s\n", request.output.c_str());
        return 1;
    }
    CloseEphemeris();
    return 0;
}
