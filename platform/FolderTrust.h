// Whether a folder is safe to load code from: nobody but the system and its administrators can
// change what is in it. Decided from the folder's security descriptor in SDDL form (owner and
// DACL), as ConvertSecurityDescriptorToStringSecurityDescriptor gives it.
#pragma once

#include <string>

enum class FolderTrust {
    Trusted,           // owned by Administrators, SYSTEM or TrustedInstaller; no one else may write
    NoSecurity,        // no DACL, or no descriptor that could be read (a file system without ACLs)
    UntrustedOwner,    // owned by anyone else (its owner may change its rights at will)
    WritableByOthers,  // an allow entry gives a write right to another account or group
};

// The decision on a descriptor in SDDL form. Empty or unparsable text: NoSecurity. Every allow
// entry counts, inherit-only ones too (they reach the subfolders and files). CREATOR OWNER and
// CREATOR GROUP entries go to whoever creates an entry in the folder, and only an account that
// may write there can: they count through that account's own entry (Program Files has one).
FolderTrust JudgeFolderSecurity(const std::string& sddl);

// Whether a folder above a trusted one stays where it is: nobody but the system and its
// administrators may delete or rename it (delete on it, delete child on its parent, the owner of
// either), take it over (write owner) or rewrite its rights (write DAC), through entries that
// apply to the folder itself. Adding folders beside it does no harm: C:\ lets every user do that.
// `parentSddl` is empty for a drive's root. Text that is no descriptor, or no DACL: false.
bool AncestorCannotBeReplaced(const std::string& ancestorSddl, const std::string& parentSddl);

// Whether the SID (an SDDL alias such as "BA" or "SY", or "S-1-..." text) is Administrators,
// SYSTEM or TrustedInstaller.
bool IsTrustedOwnerSid(const std::string& sid);
