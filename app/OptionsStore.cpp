#include "app/OptionsStore.h"

#include "app/ProgramFiles.h"
#include "platform/FileAccess.h"
#include "platform/RecursiveLock.h"
#include "platform/Registry.h"
#include "platform/TimeZone.h"
#include "platform/UserPrompt.h"
#include "res/resource.h"

#include <algorithm>
#include <mutex>

const char kOptionsFileName[] = "user.bin";
const char kSettingsFileName[] = "Solvane.ini";
const char kRunKeyPath[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kRunValueName[] = "Solvane";
const char kRegistrationKeyPath[] = "Software\\Kelbrook\\Solvane\\Registration";
const char kAppPathValueName[] = "AppPath";

namespace {

// The program path padded with zeros to at least the 260-character buffer the value always
// had; a longer path (possible in UTF-8) is kept whole.
std::string AppPathBuffer(const std::string& programPath) {
    std::string buffer = programPath;
    buffer.resize(std::max(buffer.size() + 1, kAppPathBytes), '\0');
    return buffer;
}

void WriteAppPath(const OptionsServices& services) {
    services.registry.setString(RegistryRoot::LocalMachine, kRegistrationKeyPath,
                                kAppPathValueName, AppPathBuffer(services.programPath), true);
}

// The record in `path` over `options` when it is a whole record (its impossible values
// repaired); a file of any other size is reported and leaves `options` as they are, as does one
// that cannot be read (its reason in `failure`).
FileReadResult ReadStoredOptions(UserOptions& options, const std::string& path,
                                 const OptionsServices& services, std::string* failure = nullptr) {
    UserOptions stored;
    const FileReadResult result = ReadFileOfExactSize(path, &stored, sizeof stored, failure);
    if (result == FileReadResult::WrongSize) services.prompt.warn(IDS_OPTIONS_CORRUPT, IDS_WARNING_CAPTION);
    if (result == FileReadResult::Read) {
        options = stored;
        RepairImpossibleOptions(options);
    }
    return result;
}

}  // namespace

std::string OptionsFilePath(const UserFileFolders& folders) { return folders.settings + kOptionsFileName; }

std::string EarlierOptionsFile(const std::string& programPath, const UserFileFolders& folders) {
    return folders.portable ? std::string() : FileBesideProgram(programPath, kOptionsFileName);
}

std::string OptionsFileToRead(const std::string& programPath, const UserFileFolders& folders) {
    const std::string own = OptionsFilePath(folders);
    const std::string earlier = FileBesideProgram(programPath, kOptionsFileName);
    return folders.portable || FileExists(own) || !FileExists(earlier) ? own : earlier;
}

bool LoadOptions(UserOptions& options, const OptionsServices& services) {
    SetDefaultOptions(options);
    std::string failure;
    FileReadResult result = ReadStoredOptions(options, services.optionsFile, services, &failure);
    if (result == FileReadResult::Unreadable) {
        services.prompt.warnFormatted(IDS_OPTIONS_UNREADABLE, IDS_WARNING_CAPTION, {services.optionsFile, failure});
        RefreshTimeZone(options, services);
        return false;
    }
    if (result == FileReadResult::Missing && !services.earlierOptionsFile.empty()) {
        result = ReadStoredOptions(options, services.earlierOptionsFile, services, &failure);
        // Not the user's own file: their first run, whose saves go to a file of their own.
        if (result == FileReadResult::Unreadable) {
            services.prompt.warnFormatted(IDS_EARLIER_OPTIONS_UNREADABLE, IDS_WARNING_CAPTION,
                                          {services.earlierOptionsFile, failure});
            result = FileReadResult::Missing;
        }
    }
    if (result == FileReadResult::Missing) WriteAutostartValue(services);
    RefreshTimeZone(options, services);
    return true;
}

void LoadSaverOptions(UserOptions& options, const OptionsServices& services) {
    SetDefaultOptions(options);
    options.displayFlags = kSaverDisplayFlags;
    ReadStoredOptions(options, services.optionsFile, services);
    RefreshTimeZone(options, services);
}

std::string MainProgramFolder(Registry& registry) {
    std::string path;
    if (!registry.getString(RegistryRoot::LocalMachine, kRegistrationKeyPath, kAppPathValueName, path)) return "";
    path.resize(std::min(path.size(), path.find('\0')));  // the value is NUL-padded
    const std::size_t separator = path.find_last_of('\\');
    return separator == std::string::npos ? "" : path.substr(0, separator + 1);
}

bool SaveOptions(const UserOptions& options, const OptionsServices& services,
                 std::string* failure) {
    const bool saved = ReplaceFileAtomically(services.optionsFile, &options, sizeof options, failure);
    if (services.programTrusted) WriteAppPath(services);
    return saved;
}

void RefreshTimeZone(UserOptions& options, const OptionsServices& services) {
    const TimeZoneInfo zone = services.timeZone.current();
    std::lock_guard<RecursiveLock> hold(services.optionsLock);
    options.timeZoneBias = zone.bias;
    if (zone.daylightInForce) {
        SetFieldText(options.timeZoneName, zone.daylightName);
        options.timeZoneBias += zone.daylightBias;
    } else {
        SetFieldText(options.timeZoneName, zone.standardName);
    }
}

void WriteAutostartValue(const OptionsServices& services) {
    // Quoted, so that a path with spaces is one command; the terminating NUL is stored too, as
    // string values require.
    std::string value = "\"" + services.programPath + "\"";
    value.push_back('\0');
    services.registry.setString(RegistryRoot::CurrentUser, kRunKeyPath, kRunValueName, value,
                                false);
}

void DeleteAutostartValue(const OptionsServices& services) {
    services.registry.deleteValue(RegistryRoot::CurrentUser, kRunKeyPath, kRunValueName);
}
