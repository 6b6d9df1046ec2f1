#include "installer/InstallFolderTakeOver.h"

#include "platform/FolderTrust.h"
#include "platform/HandleOwners.h"
#include "platform/SystemError.h"
#include "platform/WideText.h"

#include <windows.h>

#include <aclapi.h>
#include <sddl.h>
#include <winternl.h>

#include <functional>
#include <vector>

extern "C" {
__declspec(dllexport) volatile int32_t SolvaneAncestorsStandIn = 0;
}

namespace {

// Backup and restore semantics open any entry for reading and changing its owner, rights and
// name whatever its rights say; taking ownership is what an administrator may always do.
const wchar_t* const kPrivileges[] = {L"SeBackupPrivilege", L"SeRestorePrivilege", L"SeTakeOwnershipPrivilege"};

// The path with long names for the short ones ("PROGRA~1") in the part of it that exists, as
// the system names an opened folder's path.
std::wstring WithLongNames(const std::wstring& path) {
    std::vector<wchar_t> named(32768);
    const DWORD length = GetLongPathNameW(path.c_str(), named.data(), DWORD(named.size()));
    if (length > 0 && length < named.size()) return std::wstring(named.data(), length);
    const std::size_t separator = path.find_last_of(L'\\');
    if (separator == std::wstring::npos || separator < 3) return path;
    return WithLongNames(path.substr(0, separator)) + path.substr(separator);
}

// A full path in the "\\?\" form, which Windows takes as it is (no length limit, no names
// changed); without a trailing separator unless it is a drive's root.
std::wstring LongPath(const std::wstring& path) {
    std::vector<wchar_t> full(32768);
    const DWORD length = GetFullPathNameW(path.c_str(), DWORD(full.size()), full.data(), nullptr);
    if (length == 0 || length >= full.size()) return L"";
    std::wstring result = WithLongNames(std::wstring(full.data(), length));
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
    HANDLE opened = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &opened)) return false;
    const KernelHandle token(opened);
    bool enabled = true;
    for (const wchar_t* name : kPrivileges) {
        TOKEN_PRIVILEGES privilege = {};
        privilege.PrivilegeCount = 1;
        privilege.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        enabled = enabled && LookupPrivilegeValueW(nullptr, name, &privilege.Privileges[0].Luid) &&
                  AdjustTokenPrivileges(token.get(), FALSE, &privilege, 0, nullptr, nullptr) &&
                  GetLastError() == ERROR_SUCCESS;
    }
    return enabled;
}

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// What Setup opens an entry for: to read its attributes and rights (and a folder's entries), or
// also to change them and delete it.
DWORD EntryAccess(bool folder, bool toChange) {
    DWORD access = READ_CONTROL | FILE_READ_ATTRIBUTES | SYNCHRONIZE | (folder ? FILE_LIST_DIRECTORY : 0);
    if (toChange) access |= WRITE_DAC | WRITE_OWNER | DELETE | FILE_WRITE_ATTRIBUTES;
    return access;
}

// Opens the install folder itself, never what a link there leads to. To take it over, it is
// opened so that no one holds or gets a handle that could rename it (DELETE) while Setup works:
// once its rights are reset, no user can open one again.
HANDLE OpenTop(const std::wstring& folder, bool toChange) {
    const DWORD access = toChange ? EntryAccess(true, true) & ~DWORD(DELETE) : EntryAccess(true, false);
    return CreateFileW(folder.c_str(), access, toChange ? FILE_SHARE_READ | FILE_SHARE_WRITE : kShareAll, nullptr,
                       OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}

// Opens the entry `name` of the opened folder as itself, looked up in that very folder: whatever
// becomes of the path that led there (a folder renamed, a link put in its place), Setup stays
// inside what it opened. Others may go on using the entry meanwhile.
HANDLE OpenInside(HANDLE folder, const std::wstring& name, bool isFolder, bool toChange, DWORD& error) {
    UNICODE_STRING text;
    text.Length = text.MaximumLength = USHORT(name.size() * sizeof(wchar_t));
    text.Buffer = const_cast<wchar_t*>(name.c_str());
    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes(&attributes, &text, 0, folder, nullptr);  // the name exactly as listed
    IO_STATUS_BLOCK io = {};
    HANDLE entry = INVALID_HANDLE_VALUE;
    const NTSTATUS status =
        NtCreateFile(&entry, EntryAccess(isFolder, toChange), &attributes, &io, nullptr, 0, kShareAll, FILE_OPEN,
                     FILE_OPEN_FOR_BACKUP_INTENT | FILE_OPEN_REPARSE_POINT | FILE_SYNCHRONOUS_IO_NONALERT, nullptr, 0);
    if (status < 0) {
        error = RtlNtStatusToDosError(status);
        return INVALID_HANDLE_VALUE;
    }
    return entry;
}

// Whether the opened folder is the one at `folder` (a "\\?\" path as LongPath gives it): no
// link on the way to it, nothing on the way renamed.
bool IsAt(HANDLE opened, const std::wstring& folder) {
    std::vector<wchar_t> final(32768);
    const DWORD length = GetFinalPathNameByHandleW(opened, final.data(), DWORD(final.size()),
                                                   FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    return length > 0 && length < final.size() &&
           CompareStringOrdinal(final.data(), int(length), folder.c_str(), int(folder.size()), TRUE) == CSTR_EQUAL;
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
        const std::wstring path = folder + L"\\" + listed.name;  // for what Setup tells
        const FileHandle entry(OpenInside(opened, listed.name, listed.folder, toChange, error));
        if (!entry) return Failure(path, error);
        EntryInfo info;
        if (!ReadEntryInfo(entry.get(), info)) return Failure(path, GetLastError());
        TakeOverResult result = visit(path, listed.name, entry.get(), info);
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

bool IsMissing(DWORD openError) { return openError == ERROR_FILE_NOT_FOUND || openError == ERROR_PATH_NOT_FOUND; }

// The folder that holds `path` (a "\\?\" path as LongPath gives it); empty for a drive's root
// or a share.
std::wstring ParentOf(const std::wstring& path) {
    std::size_t root = 7;  // "\\?\C:\"
    if (path.rfind(L"\\\\?\\UNC\\", 0) == 0) {  // "\\?\UNC\server\share"
        const std::size_t server = path.find(L'\\', 8);
        root = server == std::wstring::npos ? path.size() : path.find(L'\\', server + 1);
    }
    if (root == std::wstring::npos || path.size() <= root) return L"";
    const std::size_t separator = path.find_last_of(L'\\');
    return separator < root ? path.substr(0, root) : path.substr(0, separator);
}

// The owner and DACL of the existing folder at `path` in SDDL form (`sddl`), read from the
// folder itself; Setup's own descriptor for a missing one, which it makes so.
TakeOverResult ReadFolderSddl(const std::wstring& path, std::string& sddl) {
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES && IsMissing(GetLastError())) {
        sddl = kInstallFolderSddl;
        return {};
    }
    const FileHandle folder(OpenTop(path, false));
    EntryInfo info;
    if (!folder || !ReadEntryInfo(folder.get(), info)) return Failure(path, GetLastError());
    if (info.link()) return {TakeOverStatus::Link, Shown(path)};
    const SECURITY_INFORMATION parts = OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const DWORD error = GetSecurityInfo(folder.get(), SE_FILE_OBJECT, parts, nullptr, nullptr, nullptr, nullptr, &descriptor);
    if (error != ERROR_SUCCESS) return Failure(path, error);
    wchar_t* text = nullptr;
    const bool converted =
        ConvertSecurityDescriptorToStringSecurityDescriptorW(descriptor, SDDL_REVISION_1, parts, &text, nullptr);
    const DWORD conversionError = GetLastError();
    LocalFree(descriptor);
    if (!converted) return Failure(path, conversionError);
    sddl = Utf8FromWide(std::wstring(text));
    LocalFree(text);
    return {};
}

// Refuses the install folder when users could move it away with what Setup puts there, and put
// a link to a place of their choosing in its place: neither it (with the descriptor Setup gives
// it) nor any folder above it may be one that users can delete, rename, take over or re-permit.
// Judged from the drive's root down, so that the highest such folder is named.
TakeOverResult CheckFoldersAbove(const std::wstring& folder) {
    const int32_t standIn = SolvaneAncestorsStandIn;
    if (standIn != 0) return standIn == 1 ? TakeOverResult{} : TakeOverResult{TakeOverStatus::Replaceable, Shown(folder)};
    std::vector<std::wstring> paths = {folder};
    std::vector<std::string> descriptors = {kInstallFolderSddl};
    for (std::wstring parent = ParentOf(folder); !parent.empty(); parent = ParentOf(parent)) {
        paths.push_back(parent);
        descriptors.emplace_back();
        TakeOverResult read = ReadFolderSddl(parent, descriptors.back());
        if (read.status != TakeOverStatus::Done) return read;
    }
    for (std::size_t i = paths.size(); i-- > 0;) {
        if (!AncestorCannotBeReplaced(descriptors[i], i + 1 < paths.size() ? descriptors[i + 1] : "")) {
            return {TakeOverStatus::Replaceable, Shown(paths[i])};
        }
    }
    return {};
}

// Makes the missing folder and its missing parents, each with the install folder's rights from
// the start: a parent made with the rights it would inherit (under C:\ those let every user
// rename it) could be swapped for a link to another place.
bool MakeFolder(const std::wstring& folder, const Descriptors& descriptors) {
    const std::wstring parent = ParentOf(folder);
    if (!parent.empty() && GetFileAttributesW(parent.c_str()) == INVALID_FILE_ATTRIBUTES &&
        !MakeFolder(parent, descriptors)) {
        return false;
    }
    SECURITY_ATTRIBUTES attributes = {sizeof attributes, descriptors.installFolder(), FALSE};
    return CreateDirectoryW(folder.c_str(), &attributes) != FALSE;
}

// Opens the install folder as OpenTop does; to take it over, a missing one is made first
// (`made`).
HANDLE OpenOrMake(const std::wstring& folder, bool takeOver, const Descriptors& descriptors, bool& made,
                  DWORD& error) {
    made = false;
    HANDLE top = OpenTop(folder, takeOver);
    error = GetLastError();
    if (top != INVALID_HANDLE_VALUE || !takeOver || !IsMissing(error)) return top;
    if (!MakeFolder(folder, descriptors)) {
        error = GetLastError();
        return INVALID_HANDLE_VALUE;
    }
    made = true;
    top = OpenTop(folder, true);
    error = GetLastError();
    return top;
}

// The checks of both: the opened folder itself, then what is in it. A folder Setup has `made`
// has the owner it was given.
TakeOverResult CheckOpened(const std::wstring& folder, HANDLE top, bool made, InstallKind kind,
                           const ShippedFiles& shipped) {
    EntryInfo info;
    if (!ReadEntryInfo(top, info)) return Failure(folder, GetLastError());
    if (info.link() || !IsAt(top, folder)) return {TakeOverStatus::Link, Shown(folder)};
    if (!info.folder()) return Failure(folder, ERROR_DIRECTORY);
    if (kind == InstallKind::Fresh && !made) {
        std::string owner;
        DWORD error = ERROR_SUCCESS;
        if (!OwnedByTrustee(top, owner, error)) {
            if (error != ERROR_SUCCESS) return Failure(folder, error);
            return {TakeOverStatus::ForeignOwner, owner};
        }
    }
    return Inspect(top, folder, "", kind, shipped);
}

TakeOverResult CheckOrTakeOver(const std::string& folderName, InstallKind kind, const ShippedFiles& shipped,
                               bool takeOver) {
    const std::wstring folder = LongPath(WideFromUtf8(folderName));
    if (folder.empty()) return {TakeOverStatus::Failed, folderName + ": " + SystemErrorText(ERROR_BAD_PATHNAME)};
    if (!EnablePrivileges()) return {TakeOverStatus::Failed, SystemErrorText(ERROR_PRIVILEGE_NOT_HELD)};
    // A drive's root is no program's folder: taking it over would judge every file on the drive.
    if (ParentOf(folder).empty()) return Failure(folder, ERROR_BAD_PATHNAME);
    TakeOverResult result = CheckFoldersAbove(folder);
    if (result.status != TakeOverStatus::Done) return result;
    const Descriptors descriptors;
    if (!descriptors.valid()) return Failure(folder, GetLastError());
    bool made = false;
    DWORD openError = ERROR_SUCCESS;
    const FileHandle top(OpenOrMake(folder, takeOver, descriptors, made, openError));
    if (!top) return !takeOver && IsMissing(openError) ? TakeOverResult{} : Failure(folder, openError);
    // A folder that was missing above it may have been made by someone else meanwhile: the
    // folders above are judged again now that the one made is held (and they with it).
    if (made) result = CheckFoldersAbove(folder);
    if (result.status == TakeOverStatus::Done) result = CheckOpened(folder, top.get(), made, kind, shipped);
    if (!takeOver || result.status != TakeOverStatus::Done) return result;

    // Each folder before what is in it: from then on no user can add, rename or remove
    // anything there.
    if (!SetSecurity(top.get(), descriptors.installFolder(), true)) return Failure(folder, GetLastError());
    result = Secure(top.get(), folder, "", shipped, descriptors);
    // Where the installer writes next, by its path: still this folder.
    if (result.status == TakeOverStatus::Done && !IsAt(top.get(), folder)) return {TakeOverStatus::Link, Shown(folder)};
    return result;
}

}  // namespace

TakeOverResult CheckInstallFolder(const std::string& folder, InstallKind kind, const ShippedFiles& shipped) {
    return CheckOrTakeOver(folder, kind, shipped, false);
}

TakeOverResult TakeOverInstallFolder(const std::string& folder, InstallKind kind, const ShippedFiles& shipped) {
    return CheckOrTakeOver(folder, kind, shipped, true);
}
