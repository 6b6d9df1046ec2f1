#include "installer/InstallFolderRules.h"

#include <algorithm>
#include <sstream>

namespace {

constexpr uint32_t kReparsePointAttribute = 0x400;  // FILE_ATTRIBUTE_REPARSE_POINT
constexpr uint32_t kNameSurrogateBit = 0x20000000;  // the tag's "leads to another name"
constexpr uint32_t kAppExecLinkTag = 0x8000001B;    // IO_REPARSE_TAG_APPEXECLINK

// Lower case (the names Setup compares are ASCII), backslashes, without the trailing dots and
// spaces Windows drops.
std::string NormalName(std::string name) {
    std::transform(name.begin(), name.end(), name.begin(), [](char c) {
        return c == '/' ? '\\' : (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
    });
    while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.pop_back();
    return name;
}

std::string ExtensionOf(const std::string& normalName) {
    const std::size_t dot = normalName.find_last_of('.');
    return dot == std::string::npos ? "" : normalName.substr(dot + 1);
}

}  // namespace

ShippedFiles ShippedFiles::FromList(const std::string& text) {
    ShippedFiles shipped;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        line.erase(std::remove(line.begin(), line.end(), '\r'), line.end());
        if (!line.empty()) shipped.paths_.insert(NormalName(line));
    }
    return shipped;
}

bool ShippedFiles::contains(const std::string& relativePath) const {
    return paths_.count(NormalName(relativePath)) != 0;
}

bool IsLoadableName(const std::string& name) {
    static const std::set<std::string> kExtensions = {
        // what the loader and CreateProcess take
        "exe", "dll", "scr", "com", "pif", "cpl", "ocx", "ax", "drv", "sys", "efi", "mui",
        // what Windows Installer, the script hosts and PowerShell run
        "msi", "msp", "bat", "cmd", "ps1", "psm1", "vbs", "vbe", "js", "jse", "wsf", "wsh", "hta",
        // what steers the loader
        "manifest", "local"};
    return kExtensions.count(ExtensionOf(NormalName(name))) != 0;
}

EntryFate FateOf(const std::string& relativePath, bool isFolder, uint32_t linkCount, const ShippedFiles& shipped) {
    const std::string path = NormalName(relativePath);
    if (isFolder) return ExtensionOf(path) == "local" ? EntryFate::Foreign : EntryFate::Enter;
    if (linkCount > 1 || path == "portable") return EntryFate::Delete;
    if (shipped.contains(path)) return EntryFate::Keep;
    return IsLoadableName(path) ? EntryFate::Foreign : EntryFate::Keep;
}

bool IsLinkEntry(uint32_t attributes, uint32_t reparseTag) {
    return (attributes & kReparsePointAttribute) != 0 &&
           ((reparseTag & kNameSurrogateBit) != 0 || reparseTag == kAppExecLinkTag);
}

// 0x1200a9: read and execute (FILE_GENERIC_READ | FILE_GENERIC_EXECUTE).
const char kInstallFolderSddl[] = "O:BAD:PAI(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)";
const char kFolderInsideSddl[] = "O:BAD:AI(A;OICIID;FA;;;SY)(A;OICIID;FA;;;BA)(A;OICIID;0x1200a9;;;BU)";
const char kFileInsideSddl[] = "O:BAD:AI(A;ID;FA;;;SY)(A;ID;FA;;;BA)(A;ID;0x1200a9;;;BU)";
