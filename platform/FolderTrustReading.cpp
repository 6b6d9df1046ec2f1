#include "platform/FolderTrustReading.h"

#include "platform/FolderTrust.h"
#include "platform/HandleOwners.h"
#include "platform/WideText.h"

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

extern "C" {
__declspec(dllexport) volatile int32_t SolvaneFolderTrustStandIn = 0;
}

namespace {

// The owner and DACL of the entry at `path` itself in SDDL form, read through a handle that a
// link does not lead on from. False when it cannot be read or the entry is a link.
bool ReadEntrySecurity(const std::wstring& path, std::string& sddl) {
    FileHandle entry(CreateFileW(path.c_str(), READ_CONTROL | FILE_READ_ATTRIBUTES,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                 FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!entry) return false;
    FILE_ATTRIBUTE_TAG_INFO tag = {};
    bool read = GetFileInformationByHandleEx(entry.get(), FileAttributeTagInfo, &tag, sizeof tag) &&
                ((tag.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0 || !IsReparseTagNameSurrogate(tag.ReparseTag));
    const SECURITY_INFORMATION parts = OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    read = read && GetSecurityInfo(entry.get(), SE_FILE_OBJECT, parts, nullptr, nullptr, nullptr, nullptr, &descriptor) ==
                       ERROR_SUCCESS;
    entry.reset();
    LPWSTR text = nullptr;
    read = read && ConvertSecurityDescriptorToStringSecurityDescriptorW(descriptor, SDDL_REVISION_1, parts, &text,
                                                                         nullptr);
    if (read) sddl = Utf8FromWide(text);
    LocalFree(text);
    LocalFree(descriptor);
    return read;
}

// The full path of a file on a fixed drive ("X:\..."), with "." and ".." resolved as the system
// resolves them when it opens the file; empty for any other kind of path. The rights on a
// removable or network drive were set where someone else holds them: they prove nothing here.
std::wstring FullPathOnFixedDrive(const std::string& path) {
    const std::wstring name = WideFromUtf8(path);
    const DWORD size = GetFullPathNameW(name.c_str(), 0, nullptr, nullptr);
    if (size == 0) return L"";
    std::wstring full(size, L'\0');
    full.resize(GetFullPathNameW(name.c_str(), size, &full[0], nullptr));
    const bool onDrive = full.size() > 3 && full[1] == L':' && full[2] == L'\\' && full.find(L':', 2) == std::wstring::npos;
    return onDrive && GetDriveTypeW(full.substr(0, 3).c_str()) == DRIVE_FIXED ? full : L"";
}

// The folder that holds `path` ("X:\" for what is at the root); empty for the root itself.
std::wstring Parent(const std::wstring& path) {
    if (path.size() <= 3) return L"";
    const std::size_t slash = path.rfind(L'\\');
    return path.substr(0, slash <= 2 ? 3 : slash);
}

}  // namespace

bool ProgramFileIsTrusted(const std::string& path) {
    const int32_t standIn = SolvaneFolderTrustStandIn;
    if (standIn != 0) return standIn == 1;
    const std::wstring file = FullPathOnFixedDrive(path);
    std::wstring folder = Parent(file);
    std::string fileSddl, folderSddl;
    if (folder.empty() || !ReadEntrySecurity(file, fileSddl) ||
        JudgeFolderSecurity(fileSddl) != FolderTrust::Trusted || !ReadEntrySecurity(folder, folderSddl) ||
        JudgeFolderSecurity(folderSddl) != FolderTrust::Trusted) {
        return false;
    }
    // Each folder against its parent, up to the root; every descriptor is read once.
    for (;;) {
        const std::wstring parent = Parent(folder);
        std::string parentSddl;
        if (!parent.empty() && !ReadEntrySecurity(parent, parentSddl)) return false;
        if (!AncestorCannotBeReplaced(folderSddl, parentSddl)) return false;
        if (parent.empty()) return true;
        folder = parent;
        folderSddl = parentSddl;
    }
}
