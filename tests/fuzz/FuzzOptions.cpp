// "user.bin" of any content: the clock's loader (LoadOptions, with stand-ins for the registry,
// message boxes and time zone) and the command-line programs' reader (StoredOptions), then
// what the clock and the almanac make of the record: the clock state for its home, the
// details pane, the time display, the context menu, the almanac's page and JSON.
#include "FuzzSupport.h"

#include "OptionsTestDoubles.h"
#include "app/ClockTick.h"
#include "app/Formatting.h"
#include "app/ClockState.h"
#include "astro/Ephemeris.h"
#include "astro/Fatal.h"
#include "astro/FixedClock.h"
#include "cli/Almanac.h"
#include "cli/StoredOptions.h"
#include "desktop/EarthFrameRules.h"
#include "render/SceneInputs.h"
#include "render/TimeDisplayLayout.h"

#include <cstring>

namespace {

bool SameBytes(const UserOptions& a, const UserOptions& b, std::size_t from, std::size_t to) {
    return std::memcmp(reinterpret_cast<const char*>(&a) + from,
                       reinterpret_cast<const char*>(&b) + from, to - from) == 0;
}

UserOptions Defaults() {
    UserOptions options;
    SetDefaultOptions(options);
    return options;
}

// An instant inside the small ephemeris the harness opens (three records from 1959-12-10).
FixedClock ClockFor(const UserOptions& options) {
    CivilTime utc = {};
    utc.year = 1960, utc.month = 1, utc.day = 12, utc.hour = 16, utc.minute = 30;
    return FixedClock(AddMinutes(utc, 0), options.timeZoneBias);
}

// What the clock shows of the record; the engine's fatal errors (a home whose events need
// dates outside the small file) end the attempt.
void ShowInTheClock(const UserOptions& options) {
    try {
        AstroState state = {};
        FixedClock clock = ClockFor(options);
        UpdateAstroState(state, options, clock, true);
        DataPaneTexts(options, state, 570, 16);
        MakeTimeDisplayText(options, state);
        CheckedContextCommands(options);
        SceneOf(state, options, false);
        FormatLatitude(options.homeLatitude, options);
        FormatLongitude(options.homeLongitude, options);
        FieldText(options.homeName);
        FieldText(options.proxyServer);
        FieldText(options.customTimeServer);
    } catch (const FatalStop&) {
    }
}

// What the almanac prints for the record the command-line reader returned. Like the program,
// it takes the time zone from its arguments or the system, never from the file.
void ShowInTheAlmanac(UserOptions options) {
    options.timeZoneBias = -600;
    try {
        FixedClock clock = ClockFor(options);
        const Almanac almanac = ComputeAlmanac(options, clock);
        AlmanacPage(almanac);
        AlmanacJson(almanac);
    } catch (const FatalStop&) {
    }
}

// The clock tick's arithmetic on the stored choices, at the start and after a long run.
void TickWith(const UserOptions& options) {
    for (const int64_t now : {int64_t(0), int64_t(1) << 40, int64_t(1) << 62}) {
        const TickInputs in = {true, false, true, options.viewpoint, options.wallpaperEnabled == 1,
                               options.wallpaperMinutes, now};
        Stopwatch redraw{10000000, 0}, wallpaper{10000000, 0};
        DecideTick(in, redraw, wallpaper);
        FUZZ_CHECK(PeriodsUntilNextTick(in, redraw, wallpaper) >= 1);
    }
}

struct Harness {
    Harness() {
        SetFatalHook(ThrowFatalStop);
        FUZZ_CHECK(EPHOPN(SOLVANE_FUZZ_CHEBY) != nullptr);
        world.timeZone.zone.bias = 300;
        world.timeZone.zone.daylightBias = -60;
        world.timeZone.zone.standardName = u"Eastern Standard Time";
        world.timeZone.zone.daylightName = u"Eastern Daylight Time";
        // A portable copy: the command-line reader takes the file beside the program.
        world.folder.writeFile(world.folder.dir / "portable", {});
    }
    OptionsWorld world;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static Harness harness;
    OptionsWorld& world = harness.world;
    world.prompt.warnings.clear();
    world.folder.writeFile(world.folder.optionsFile(),
                           std::vector<char>(data, data + size));
    UserOptions input;
    if (size == sizeof input) std::memcpy(&input, data, size);

    // The clock takes a record of the right size as it is, all but the time zone and a home
    // that is not on the Earth.
    UserOptions loaded;
    LoadOptions(loaded, world.services());
    const std::size_t zoneFrom = offsetof(UserOptions, timeZoneName);
    const std::size_t zoneTo = offsetof(UserOptions, customTimeServer);
    UserOptions expected = size == sizeof input ? input : Defaults();
    RepairImpossibleOptions(expected);
    FUZZ_CHECK(SameBytes(loaded, expected, 0, zoneFrom));
    FUZZ_CHECK(SameBytes(loaded, expected, zoneTo, sizeof loaded));
    FUZZ_CHECK(loaded.timeZoneBias == 300);
    FUZZ_CHECK(world.prompt.warnings.size() == (size == sizeof input ? 0u : 1u));
    ShowInTheClock(loaded);
    TickWith(loaded);

    // The command-line programs take it only with a home on Earth.
    const UserOptions stored = StoredOptions(world.folder.programPath());
    FUZZ_CHECK(HomeIsOnEarth(stored));
    const bool usable = size == sizeof input && HomeIsOnEarth(input);
    FUZZ_CHECK(SameBytes(stored, usable ? input : Defaults(), 0, sizeof stored));
    ShowInTheAlmanac(stored);
    return 0;
}
