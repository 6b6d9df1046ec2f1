// Loading and saving the options record, and the registry values that come with it.
#pragma once

#include "app/ProgramFiles.h"
#include "app/UserOptions.h"

#include <cstdint>
#include <string>

class Registry;
class UserPrompt;
class TimeZoneSource;
class RecursiveLock;

// What the options code needs from the outside world.
struct OptionsServices {
    std::string programPath;  // full path of the program file (the Run value, AppPath)
    std::string optionsFile;  // full path of the options record's file
    // An earlier install's record beside the program, read when the user has no file of their
    // own yet (the first save then writes the user's copy; the original stays, for the PC's
    // other users); empty when there is none to take over (a portable copy).
    std::string earlierOptionsFile;
    Registry& registry;
    UserPrompt& prompt;
    TimeZoneSource& timeZone;
    RecursiveLock& optionsLock;
    // Whether the program, its folder and those above it are ones that no one but the
    // administrators can change: only such a folder is recorded as AppPath, since every user's
    // screen saver loads the image library from the folder recorded there.
    bool programTrusted = false;
};

extern const char kOptionsFileName[];     // "user.bin"
// Beside it: the choices the record has no field for, as INI text.
extern const char kSettingsFileName[];    // "Solvane.ini"
extern const char kRunKeyPath[];          // the current user's Run key
extern const char kRunValueName[];        // "Solvane"
extern const char kRegistrationKeyPath[]; // the program's key under HKEY_LOCAL_MACHINE
extern const char kAppPathValueName[];    // "AppPath"
constexpr std::size_t kAppPathBytes = 260;

// The current user's options file: "user.bin" in their settings folder.
std::string OptionsFilePath(const UserFileFolders& folders);

// The file an earlier install kept beside the program, for `earlierOptionsFile`: empty in a
// portable copy, where that file is the user's own.
std::string EarlierOptionsFile(const std::string& programPath, const UserFileFolders& folders);

// The file a program that only reads the options takes: the user's own, else, before the
// clock has first run after an upgrade, the one beside the program.
std::string OptionsFileToRead(const std::string& programPath, const UserFileFolders& folders);

// Defaults, then the options file (else the earlier install's) when it is exactly 488 bytes (a file of any
// other size is reported once and replaced by the next save; impossible values are repaired);
// then the time zone. A first run (no file) also writes the autostart value. A file of the
// user's own that is there but cannot be read (held by another program, access denied) is
// reported once and false is returned: the run then must not write over it. An earlier
// install's file that cannot be read is reported once too, and the run is the user's first.
bool LoadOptions(UserOptions& options, const OptionsServices& services);

// The screen saver's reading of the clock's options from `services.optionsFile`: the
// defaults with the saver's display flags (kSaverDisplayFlags), then "user.bin" when it is
// exactly 488 bytes (a file of any other size is reported, a missing one is not; impossible
// values are repaired in memory); then the time zone. Nothing is written, neither the file nor
// the registry.
constexpr uint32_t kSaverDisplayFlags = 0x75D;
void LoadSaverOptions(UserOptions& options, const OptionsServices& services);

// The folder of the installed clock, from the `AppPath` value the clock writes: the stored
// path up to and including its last backslash; empty when the value cannot be read. Reads the
// registry only.
std::string MainProgramFolder(Registry& registry);

// Writes the record to the options file (atomically), then `AppPath` from a trusted folder. False
// when the file could not
// be written, with the system's reason in `failure` when given; the options then live on in
// memory only.
bool SaveOptions(const UserOptions& options, const OptionsServices& services,
                 std::string* failure = nullptr);

// Copies the system's current time-zone name and bias (daylight saving included) into the
// record, under `optionsLock`.
void RefreshTimeZone(UserOptions& options, const OptionsServices& services);

// The Run value that starts the program when the user logs on.
void WriteAutostartValue(const OptionsServices& services);
void DeleteAutostartValue(const OptionsServices& services);
