#include "app/ProgramFiles.h"

#include "platform/FileAccess.h"
#include "platform/UserFolders.h"

const char kPortableMarkerName[] = "portable";

namespace {

// `base` (ending in a separator) with the program's own folder in it.
std::string ProductFolderIn(const std::string& base) {
    return base.empty() ? base : base + "Solvane" + base.back();
}

}  // namespace

std::string FileBesideProgram(const std::string& programPath, const std::string& name) {
    const std::size_t separator = programPath.find_last_of("\\/");
    const std::string directory =
        separator == std::string::npos ? std::string() : programPath.substr(0, separator + 1);
    return directory + name;
}

std::string DataFilePath(const std::string& programPath, const std::string& name) {
    const std::string beside = FileBesideProgram(programPath, name);
    return FileExists(beside) ? beside : name;
}

UserFileFolders UserFileFoldersFor(const std::string& programPath) {
    UserFileFolders folders;
    folders.settings = ProductFolderIn(RoamingDataFolder());
    folders.pictures = ProductFolderIn(LocalDataFolder());
    folders.portable = FileExists(FileBesideProgram(programPath, kPortableMarkerName)) ||
                       folders.settings.empty() || folders.pictures.empty();
    if (folders.portable) folders.settings = folders.pictures = FileBesideProgram(programPath, "");
    return folders;
}
