#include "installer/InstallFolderTakeOver.h"

#include "platform/FolderTrust.h"
#include "platform/SystemError.h"
#include "platform/WideText.h"

#include <windows.h>

#include <aclapi.h>
#include <sddl.h>

#include <functional>
#include <vector>

namespace {

// Backup and restore semantics open any entry for reading and changing its owner, rights and
// name whatever its rights say; taking ownership is what an administrator may always do.
const wchar_t* const kPrivileges[] = {L"SeBackupPrivilege", L"SeRestorePrivilege", L"SeTakeOwnershipPrivilege"};

struct Handle {
    HANDLE value = INVALID_HANDLE_VALUE;
    explicit Handle(HANDLE h) : value(h) {}
    ~Handle() {
        if (valid()) CloseHandle(value);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool valid() const { return value != INVALID_HANDLE_VALUE; }
};

// A full path in the "\\?\" form, which Windows takes as it is (no length limit, no names
// changed); without a trailing separator unless it is a drive's root.
std::wstring LongPath(const std::wstring& path) {
    std::vector<wchar_t> full(32768);
    const DWORD length = GetFullPathNameW(path.c_str(), DWORD(full.size()), full.data(), nullptr);
    if (length == 0 || length >= full.size()) return L"";
    std::wstring result(full.data(), length);
    if (result.size() > 3 && result.back() == L'\\') result.pop_back();
    if (result.rfind(L"\\\\?\\", 0) == 0) return result;
    if (result.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + result.substr(2);
    return L"\\\\?\\" + result;
}

// The path as the user knows it.
std::string Shown(const std::wstring& longPath) {
    if (longPath.rfind(L"\\\\?\\UNC\\", 0) == 0) return "\\\\" + Utf8FromWide(longPath.substr(8));
    return Utf8FromWide(longPath.rfind(L"\\\\?\\", 0) == 0 ? longPath.substr(4) : longPath);
}

TakeOverResult Failure(const std::wstring& path, DWORD error) {
    return {TakeOverStatus::Failed, Shown(path) + ": " + SystemErrorText(error)};
}

bool EnablePrivileges() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return false;
    bool enabled = true;
    for (const wchar_t* name : kPrivileges) {
        TOKEN_PRIVILEGES privilege = {};
        privilege.PrivilegeCount = 1;
        privilege.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        enabled = enabled && LookupPrivilegeValueW(nullptr, name, &privilege.Privileges[0].Luid) &&
                  AdjustTokenPrivileges(token, FALSE, &privilege, 0, nullptr, nullptr) &&
                  GetLastError() == ERROR_SUCCESS;
    }
    CloseHandle(token);
    return enabled;
}

// Opens the entry itself, never what a link leads to: to read its attributes and rights (and a
// folder's entries), or to change them and delete it. Others may go on using it meanwhile.
HANDLE OpenEntry(const std::wstring& path, bool folder, bool toChange) {
    DWORD access = READ_CONTROL | FILE_READ_ATTRIBUTES | (folder ? FILE_LIST_DIRECTORY : 0);
    if (toChange) access |= WRITE_DAC | WRITE_OWNER | DELETE | FILE_WRITE_ATTRIBUTES;
    return CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}

// What Setup needs to know of an opened entry.
struct EntryInfo {
    DWORD attributes = 0;
    DWORD reparseTag = 0;
    DWORD linkCount = 1;
    bool folder() const { return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
    bool link() const { return IsLinkEntry(attributes, reparseTag); }
};

bool ReadEntryInfo(HANDLE entry, EntryInfo& info) {
    FILE_ATTRIBUTE_TAG_INFO tag = {};
    BY_HANDLE_FILE_INFORMATION file = {};
    if (!GetFileInformationByHandleEx(entry, FileAttributeTagInfo, &tag, sizeof tag) ||
        !GetFileInformationByHandle(entry, &file)) {
        return false;
    }
    info.attributes = tag.FileAttributes;
    info.reparseTag = (tag.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 ? tag.ReparseTag : 0;
    info.linkCount = file.nNumberOfLinks;
    return true;
}

// An entry of a folder as its listing gives it.
struct Listed {
    std::wstring name;
    bool folder;
};

// The entries of the opened folder, without "." and "..". False (with the error) when they
// cannot be read.
bool ListOpened(HANDLE folder, std::vector<Listed>& entries, DWORD& error) {
    std::vector<LONGLONG> buffer(8192);  // 64 KiB, aligned as the records need
    for (FILE_INFO_BY_HANDLE_CLASS what = FileIdBothDirectoryRestartInfo;; what = FileIdBothDirectoryInfo) {
        if (!GetFileInformationByHandleEx(folder, what, buffer.data(), DWORD(buffer.size() * sizeof(LONGLONG)))) {
            error = GetLastError();
            return error == ERROR_NO_MORE_FILES;
        }
        const char* record = reinterpret_cast<const char*>(buffer.data());
        for (;;) {
            const auto* entry = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(record);
            const std::wstring name(entry->FileName, entry->FileNameLength / sizeof(wchar_t));
            if (name != L"." && name != L"..") {
                entries.push_back({name, (entry->FileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
            }
            if (entry->NextEntryOffset == 0) break;
            record += entry->NextEntryOffset;
        }
    }
}

std::string Joined(const std::string& relative, const std::wstring& name) {
    return relative.empty() ? Utf8FromWide(name) : relative + "\\" + Utf8FromWide(name);
}

// The owner's account name ("PC\name"), or its SID when it has none.
std::string AccountName(PSID sid) {
    wchar_t name[256], domain[256];
    DWORD nameLength = 256, domainLength = 256;
    SID_NAME_USE use;
    if (LookupAccountSidW(nullptr, sid, name, &nameLength, domain, &domainLength, &use)) {
        return Utf8FromWide(domainLength > 0 ? std::wstring(domain) + L"\\" + name : std::wstring(name));
    }
    wchar_t* text = nullptr;
    if (!ConvertSidToStringSidW(sid, &text)) return "?";
    const std::string result = Utf8FromWide(std::wstring(text));
    LocalFree(text);
    return result;
}

// Whether the entry's owner is Administrators, SYSTEM or TrustedInstaller; `owner` names it.
bool OwnedByTrustee(HANDLE entry, std::string& owner, DWORD& error) {
    PSID sid = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    error = GetSecurityInfo(entry, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &sid, nullptr, nullptr, nullptr,
                            &descriptor);
    if (error != ERROR_SUCCESS) return false;
    if (sid == nullptr) {  // a drive that keeps no owners (nor rights)
        LocalFree(descriptor);
        error = ERROR_NOT_SUPPORTED;
        return false;
    }
    wchar_t* text = nullptr;
    bool trusted = false;
    if (ConvertSidToStringSidW(sid, &text)) {
        trusted = IsTrustedOwnerSid(Utf8FromWide(std::wstring(text)));
        LocalFree(text);
    }
    owner = AccountName(sid);
    LocalFree(descriptor);
    return trusted;
}

// Calls `visit` with each entry of the opened folder, opened as itself (to change it, or only to
// read it), and stops at the first outcome other than Done.
using EntryVisit = std::function<TakeOverResult(const std::wstring& path, const std::wstring& name, HANDLE entry,
                                                const EntryInfo& info)>;
TakeOverResult ForEachEntry(HANDLE opened, const std::wstring& folder, bool toChange, const EntryVisit& visit) {
    std::vector<Listed> entries;
    DWORD error = ERROR_SUCCESS;
    if (!ListOpened(opened, entries, error)) return Failure(folder, error);
    for (const Listed& listed : entries) {
        const std::wstring path = folder + L"\\" + listed.name;
        Handle entry(OpenEntry(path, listed.folder, toChange));
        EntryInfo info;
        if (!entry.valid() || !ReadEntryInfo(entry.value, info)) return Failure(path, GetLastError());
        TakeOverResult result = visit(path, listed.name, entry.value, info);
        if (result.status != TakeOverStatus::Done) return result;
    }
    return {};
}

// Looks through the opened folder without changing it: links stop Setup anywhere, foreign code
// stops a fresh install.
TakeOverResult Inspect(HANDLE opened, const std::wstring& folder, const std::string& relative, InstallKind kind,
                       const ShippedFiles& shipped) {
    return ForEachEntry(opened, folder, false, [&](const std::wstring& path, const std::wstring& name, HANDLE entry,
                                                   const EntryInfo& info) -> TakeOverResult {
        const std::string inside = Joined(relative, name);
        if (info.link()) return {TakeOverStatus::Link, Shown(path)};
        if (kind == InstallKind::Fresh && FateOf(inside, info.folder(), 1, shipped) == EntryFate::Foreign) {
            return {TakeOverStatus::ForeignCode, Shown(path)};
        }
        return info.folder() ? Inspect(entry, path, inside, kind, shipped) : TakeOverResult{};
    });
}

// The three descriptors, converted once.
class Descriptors {
public:
    Descriptors()
        : installFolder_(Convert(kInstallFolderSddl)), folder_(Convert(kFolderInsideSddl)),
          file_(Convert(kFileInsideSddl)) {}
    ~Descriptors() {
        for (PSECURITY_DESCRIPTOR d : {installFolder_, folder_, file_}) LocalFree(d);
    }
    Descriptors(const Descriptors&) = delete;
    Descriptors& operator=(const Descriptors&) = delete;
    bool valid() const { return installFolder_ != nullptr && folder_ != nullptr && file_ != nullptr; }
    PSECURITY_DESCRIPTOR installFolder() const { return installFolder_; }
    PSECURITY_DESCRIPTOR inside(bool folder) const { return folder ? folder_ : file_; }

private:
    static PSECURITY_DESCRIPTOR Convert(const char* sddl) {
        PSECURITY_DESCRIPTOR descriptor = nullptr;
        ConvertStringSecurityDescriptorToSecurityDescriptorW(WideFromUtf8(sddl).c_str(), SDDL_REVISION_1,
                                                             &descriptor, nullptr);
        return descriptor;
    }
    PSECURITY_DESCRIPTOR installFolder_, folder_, file_;
};

// Gives the opened entry exactly this owner and these rights. Nothing is worked out from its
// parent or handed down to its children (which are each given theirs in turn), so no link is
// ever followed.
bool SetSecurity(HANDLE entry, PSECURITY_DESCRIPTOR descriptor, bool isProtected) {
    const SECURITY_INFORMATION what = OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION |
                                      (isProtected ? PROTECTED_DACL_SECURITY_INFORMATION
                                                   : UNPROTECTED_DACL_SECURITY_INFORMATION);
    return SetKernelObjectSecurity(entry, what, descriptor) != FALSE;
}

// Deletes the opened entry (a read-only one too); it goes when its last handle is closed.
bool DeleteOpened(HANDLE entry, DWORD attributes) {
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        FILE_BASIC_INFO basic = {};
        basic.FileAttributes = (attributes & ~DWORD(FILE_ATTRIBUTE_READONLY)) | FILE_ATTRIBUTE_NORMAL;
        if (!SetFileInformationByHandle(entry, FileBasicInfo, &basic, sizeof basic)) return false;
    }
    FILE_DISPOSITION_INFO disposition = {TRUE};
    return SetFileInformationByHandle(entry, FileDispositionInfo, &disposition, sizeof disposition) != FALSE;
}

// Deletes the opened entry with everything in it; a link goes as a link.
TakeOverResult DeleteEntry(HANDLE opened, const std::wstring& path, const EntryInfo& info) {
    if (info.folder() && !info.link()) {
        TakeOverResult result = ForEachEntry(opened, path, true, [](const std::wstring& insidePath, const std::wstring&,
                                                                    HANDLE entry, const EntryInfo& insideInfo) {
            return DeleteEntry(entry, insidePath, insideInfo);
        });
        if (result.status != TakeOverStatus::Done) return result;
    }
    if (!DeleteOpened(opened, info.attributes)) return Failure(path, GetLastError());
    return {};
}

// Gives every entry of the opened (already secured) folder the owner and rights it inherits,
// and deletes what goes. Each entry is judged by what its own handle says, so an entry
// changed since Inspect saw it is judged anew.
TakeOverResult Secure(HANDLE opened, const std::wstring& folder, const std::string& relative,
                      const ShippedFiles& shipped, const Descriptors& descriptors) {
    return ForEachEntry(opened, folder, true, [&](const std::wstring& path, const std::wstring& name, HANDLE entry,
                                                  const EntryInfo& info) -> TakeOverResult {
        const std::string inside = Joined(relative, name);
        if (info.link()) return {TakeOverStatus::Link, Shown(path)};
        switch (FateOf(inside, info.folder(), info.linkCount, shipped)) {
        case EntryFate::Keep:
            if (!SetSecurity(entry, descriptors.inside(false), false)) return Failure(path, GetLastError());
            return {};
        case EntryFate::Enter:
            if (!SetSecurity(entry, descriptors.inside(true), false)) return Failure(path, GetLastError());
            return Secure(entry, path, inside, shipped, descriptors);
        case EntryFate::Delete:
        case EntryFate::Foreign:
            break;
        }
        return DeleteEntry(entry, path, info);
    });
}

// Makes the missing folder with the install folder's rights from the start, and its missing
// parents with the rights they inherit.
bool MakeParents(const std::wstring& folder) {
    const std::size_t separator = folder.find_last_of(L'\\');
    if (separator == std::wstring::npos || separator <= 6) return true;  // the drive: "\\?\C:"
    const std::wstring parent = folder.substr(0, separator);
    if (GetFileAttributesW(parent.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    return MakeParents(parent) && (CreateDirectoryW(parent.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
}

TakeOverResult MakeFolder(const std::wstring& folder, const Descriptors& descriptors) {
    SECURITY_ATTRIBUTES attributes = {sizeof attributes, descriptors.installFolder(), FALSE};
    if (!MakeParents(folder) || !CreateDirectoryW(folder.c_str(), &attributes)) return Failure(folder, GetLastError());
    return {};
}

// The checks of both: the folder itself, then what is in it. `top` is the folder opened, or
// invalid (for `openError`) when it could not be.
TakeOverResult CheckOpened(const std::wstring& folder, const Handle& top, DWORD openError, InstallKind kind,
                           const ShippedFiles& shipped) {
    if (!top.valid()) {
        return openError == ERROR_FILE_NOT_FOUND || openError == ERROR_PATH_NOT_FOUND ? TakeOverResult{}
                                                                                      : Failure(folder, openError);
    }
    EntryInfo info;
    if (!ReadEntryInfo(top.value, info)) return Failure(folder, GetLastError());
    if (info.link()) return {TakeOverStatus::Link, Shown(folder)};
    if (!info.folder()) return Failure(folder, ERROR_DIRECTORY);
    if (kind == InstallKind::Fresh) {
        std::string owner;
        DWORD error = ERROR_SUCCESS;
        if (!OwnedByTrustee(top.value, owner, error)) {
            if (error != ERROR_SUCCESS) return Failure(folder, error);
            return {TakeOverStatus::ForeignOwner, owner};
        }
    }
    return Inspect(top.value, folder, "", kind, shipped);
}

TakeOverResult CheckOrTakeOver(const std::string& folderName, InstallKind kind, const ShippedFiles& shipped,
                               bool takeOver) {
    const std::wstring folder = LongPath(WideFromUtf8(folderName));
    if (folder.empty()) return {TakeOverStatus::Failed, folderName + ": " + SystemErrorText(ERROR_BAD_PATHNAME)};
    if (!EnablePrivileges()) return {TakeOverStatus::Failed, SystemErrorText(ERROR_PRIVILEGE_NOT_HELD)};
    Handle top(OpenEntry(folder, true, takeOver));
    const DWORD openError = GetLastError();
    TakeOverResult result = CheckOpened(folder, top, openError, kind, shipped);
    if (!takeOver || result.status != TakeOverStatus::Done) return result;

    const Descriptors descriptors;
    if (!descriptors.valid()) return Failure(folder, GetLastError());
    if (!top.valid()) return MakeFolder(folder, descriptors);
    // Each folder before what is in it: from then on no user can add, rename or remove
    // anything there.
    if (!SetSecurity(top.value, descriptors.installFolder(), true)) return Failure(folder, GetLastError());
    return Secure(top.value, folder, "", shipped, descriptors);
}

}  // namespace

TakeOverResult CheckInstallFolder(const std::string& folder, InstallKind kind, const ShippedFiles& shipped) {
    return CheckOrTakeOver(folder, kind, shipped, false);
}

TakeOverResult TakeOverInstallFolder(const std::string& folder, InstallKind kind, const ShippedFiles& shipped) {
    return CheckOrTakeOver(folder, kind, shipped, true);
}
