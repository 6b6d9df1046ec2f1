#include "platform/FolderTrustReading.h"

#include "platform/WideText.h"

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

extern "C" {
__declspec(dllexport) volatile int32_t SolvaneFolderTrustStandIn = 0;
}

FolderTrust ReadFolderTrust(const std::string& path) {
    const int32_t standIn = SolvaneFolderTrustStandIn;
    if (standIn > 0 && standIn <= int32_t(FolderTrust::WritableByOthers) + 1) return FolderTrust(standIn - 1);
    std::wstring name = WideFromUtf8(path);
    // "C:\" keeps its backslash; a folder's own is dropped.
    if (name.size() > 3 && name.back() == L'\\') name.pop_back();
    const SECURITY_INFORMATION parts = OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoW(name.c_str(), SE_FILE_OBJECT, parts, nullptr, nullptr, nullptr, nullptr, &descriptor) !=
        ERROR_SUCCESS) {
        return FolderTrust::NoSecurity;
    }
    FolderTrust trust = FolderTrust::NoSecurity;
    LPWSTR text = nullptr;
    if (ConvertSecurityDescriptorToStringSecurityDescriptorW(descriptor, SDDL_REVISION_1, parts, &text, nullptr)) {
        trust = JudgeFolderSecurity(Utf8FromWide(text));
        LocalFree(text);
    }
    LocalFree(descriptor);
    return trust;
}
