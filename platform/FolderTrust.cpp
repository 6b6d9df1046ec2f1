#include "platform/FolderTrust.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

const char kAdministrators[] = "S-1-5-32-544";
const char kSystem[] = "S-1-5-18";
const char kTrustedInstaller[] = "S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464";
const char kCreatorOwner[] = "S-1-3-0";
const char kCreatorGroup[] = "S-1-3-1";
const char kOwnerRights[] = "S-1-3-4";

constexpr uint32_t kDeleteChild = 0x40, kDelete = 0x10000, kWriteDac = 0x40000, kWriteOwner = 0x80000,
                   kGenericAll = 0x10000000;

// The rights that change a folder or what is in it: add a file or subfolder (write or append
// data), write extended attributes, delete a child, write attributes, delete, write the DACL,
// take ownership, generic write or all, and whatever may be asked for (MAXIMUM_ALLOWED).
constexpr uint32_t kWriteRights = 0x2 | 0x4 | 0x10 | 0x40 | 0x100 | 0x10000 | 0x40000 | 0x80000 | 0x2000000 |
                                  0x10000000 | 0x40000000;

struct RightLetters {
    char letters[3];
    uint32_t mask;
};

// The rights' two-letter names in SDDL; the directory-service ones are bits of the same mask.
const RightLetters kRightLetters[] = {
    {"GA", 0x10000000}, {"GR", 0x80000000}, {"GW", 0x40000000}, {"GX", 0x20000000}, {"RC", 0x20000},
    {"SD", 0x10000},    {"WD", 0x40000},    {"WO", 0x80000},    {"RP", 0x10},       {"WP", 0x20},
    {"CC", 0x1},        {"DC", 0x2},        {"LC", 0x4},        {"SW", 0x8},        {"LO", 0x80},
    {"DT", 0x40},       {"CR", 0x100},      {"FA", 0x1F01FF},   {"FR", 0x120089},   {"FW", 0x120116},
    {"FX", 0x1200A0},   {"KA", 0xF003F},    {"KR", 0x20019},    {"KW", 0x20006},    {"KX", 0x20019},
    {"NR", 0x2},        {"NW", 0x1},        {"NX", 0x4},  // integrity labels' policy
};

bool IsCapital(char c) { return c >= 'A' && c <= 'Z'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The SID's text with its aliases for the accounts that matter here spelled out.
std::string CanonicalSid(const std::string& sid) {
    if (sid == "BA") return kAdministrators;
    if (sid == "SY") return kSystem;
    if (sid == "CO") return kCreatorOwner;
    if (sid == "CG") return kCreatorGroup;
    if (sid == "OW") return kOwnerRights;
    std::string text = sid;
    if (!text.empty() && text[0] == 's') text[0] = 'S';
    return text;
}

// An alias (two capitals) or S-1- followed by decimal numbers, each after a dash.
bool IsSidText(const std::string& text) {
    if (text.size() == 2) return IsCapital(text[0]) && IsCapital(text[1]);
    if (text.size() < 5 || (text[0] != 'S' && text[0] != 's') || text.compare(1, 3, "-1-") != 0) return false;
    bool digitBefore = false;
    for (std::size_t i = 4; i < text.size(); ++i) {
        if (text[i] == '-') {
            if (!digitBefore) return false;
            digitBefore = false;
        } else if (IsDigit(text[i])) {
            digitBefore = true;
        } else {
            return false;
        }
    }
    return digitBefore;
}

// The SID that starts at `at` (an owner's or group's, followed directly by the next part).
bool ReadSid(const std::string& sddl, std::size_t& at, std::string& sid) {
    std::size_t end = at;
    if (end + 1 < sddl.size() && sddl[end + 1] == '-') {
        end += 2;
        while (end < sddl.size() && (IsDigit(sddl[end]) || sddl[end] == '-')) ++end;
    } else {
        end = std::min(at + 2, sddl.size());
    }
    sid = sddl.substr(at, end - at);
    at = end;
    return IsSidText(sid);
}

// An access mask: a number (hexadecimal after 0x, else decimal) or two-letter names.
bool ReadRights(const std::string& text, uint32_t& mask) {
    mask = 0;
    if (text.empty()) return false;
    if (IsDigit(text[0])) {
        const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
        uint64_t value = 0;
        for (std::size_t i = hex ? 2 : 0; i < text.size(); ++i) {
            const char c = text[i];
            int digit = -1;
            if (IsDigit(c)) digit = c - '0';
            if (hex && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
            if (hex && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
            if (digit < 0 || (!hex && digit > 9)) return false;
            value = value * (hex ? 16 : 10) + uint64_t(digit);
            if (value > UINT32_MAX) return false;
        }
        mask = uint32_t(value);
        return true;
    }
    if (text.size() % 2 != 0) return false;
    for (std::size_t i = 0; i < text.size(); i += 2) {
        bool known = false;
        for (const RightLetters& right : kRightLetters) {
            if (text.compare(i, 2, right.letters) == 0) {
                mask |= right.mask;
                known = true;
            }
        }
        if (!known) return false;
    }
    return true;
}

struct Grant {
    std::string sid;
    uint32_t rights = 0;
    bool inheritOnly = false;  // reaches only what is below, not the object itself
};

// One entry's text between its parentheses: type;flags;rights;object;inherited object;SID and,
// for a conditional entry, its condition. Allow entries add a grant; deny, audit and label
// entries grant nothing.
bool ReadEntry(const std::string& text, std::vector<Grant>& grants) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    while (fields.size() < 6) {
        const std::size_t end = text.find(';', start);
        fields.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    if (fields.size() != 6) return false;
    const std::string& type = fields[0];
    const bool allows = type == "A" || type == "OA" || type == "XA" || type == "ZA";
    static const char* const kOtherTypes[] = {"D", "OD", "XD", "AU", "AL", "OU", "OL", "ML", "XU", "RA", "SP"};
    bool known = allows;
    for (const char* other : kOtherTypes) known |= type == other;
    if (!known || fields[1].size() % 2 != 0) return false;
    for (const char c : fields[1]) {
        if (!IsCapital(c)) return false;
    }
    Grant grant;
    for (std::size_t i = 0; i < fields[1].size(); i += 2) grant.inheritOnly |= fields[1].compare(i, 2, "IO") == 0;
    if (!ReadRights(fields[2], grant.rights) || !IsSidText(fields[5])) return false;
    grant.sid = CanonicalSid(fields[5]);
    if (allows) grants.push_back(grant);
    return true;
}

// An ACL at `at`: its flags, then its entries in parentheses (a condition inside one may hold
// parentheses of its own). `present` is false for NO_ACCESS_CONTROL.
bool ReadAcl(const std::string& sddl, std::size_t& at, bool& present, std::vector<Grant>& grants) {
    present = true;
    for (;;) {
        if (sddl.compare(at, 17, "NO_ACCESS_CONTROL") == 0) {
            present = false;
            at += 17;
        } else if (sddl.compare(at, 2, "AI") == 0 || sddl.compare(at, 2, "AR") == 0) {
            at += 2;
        } else if (at < sddl.size() && sddl[at] == 'P' && (at + 1 >= sddl.size() || sddl[at + 1] != ':')) {
            at += 1;
        } else {
            break;
        }
    }
    while (at < sddl.size() && sddl[at] == '(') {
        int depth = 0;
        std::size_t end = at;
        for (; end < sddl.size(); ++end) {
            if (sddl[end] == '(') ++depth;
            if (sddl[end] == ')' && --depth == 0) break;
        }
        if (end >= sddl.size() || !ReadEntry(sddl.substr(at + 1, end - at - 1), grants)) return false;
        at = end + 1;
    }
    return true;
}

struct Descriptor {
    std::string owner;
    bool daclPresent = false;  // a DACL was given and is not NO_ACCESS_CONTROL
    std::vector<Grant> grants;
};

// Owner and DACL of a descriptor in SDDL form; false when the text is no descriptor.
bool ReadDescriptor(const std::string& sddl, Descriptor& descriptor) {
    bool hasDacl = false;
    std::size_t at = 0;
    while (at < sddl.size()) {
        if (at + 1 >= sddl.size() || sddl[at + 1] != ':') return false;
        const char part = sddl[at];
        at += 2;
        std::string sid;
        std::vector<Grant> auditGrants;
        bool saclPresent = false;
        switch (part) {
        case 'O':
            if (!ReadSid(sddl, at, descriptor.owner)) return false;
            break;
        case 'G':
            if (!ReadSid(sddl, at, sid)) return false;
            break;
        case 'D':
            if (hasDacl || !ReadAcl(sddl, at, descriptor.daclPresent, descriptor.grants)) return false;
            hasDacl = true;
            break;
        case 'S':
            if (!ReadAcl(sddl, at, saclPresent, auditGrants)) return false;
            break;
        default:
            return false;
        }
    }
    return true;
}

// Whether the grant goes to an account other than the system's own. CREATOR OWNER and CREATOR
// GROUP are no one's until an entry is created; OWNER RIGHTS is the owner's, judged on its own.
bool GrantsToOthers(const Grant& grant) {
    const bool creatorOrOwner = grant.sid == kCreatorOwner || grant.sid == kCreatorGroup || grant.sid == kOwnerRights;
    return !creatorOrOwner && !IsTrustedOwnerSid(grant.sid);
}

// Whether another account holds any of `rights` on the object itself (inherit-only entries do
// not reach it). Generic all holds them all when the system maps it; generic write maps to
// FILE_GENERIC_WRITE, which holds none of delete, write DAC, write owner or delete child.
bool OthersHoldOnItself(const Descriptor& descriptor, uint32_t rights) {
    for (const Grant& grant : descriptor.grants) {
        if (!grant.inheritOnly && GrantsToOthers(grant) && (grant.rights & (rights | kGenericAll)) != 0) return true;
    }
    return false;
}

}  // namespace

bool IsTrustedOwnerSid(const std::string& sid) {
    const std::string canonical = CanonicalSid(sid);
    return canonical == kAdministrators || canonical == kSystem || canonical == kTrustedInstaller;
}

FolderTrust JudgeFolderSecurity(const std::string& sddl) {
    Descriptor descriptor;
    if (!ReadDescriptor(sddl, descriptor) || !descriptor.daclPresent) return FolderTrust::NoSecurity;
    if (!IsTrustedOwnerSid(descriptor.owner)) return FolderTrust::UntrustedOwner;
    for (const Grant& grant : descriptor.grants) {
        if (GrantsToOthers(grant) && (grant.rights & kWriteRights) != 0) return FolderTrust::WritableByOthers;
    }
    return FolderTrust::Trusted;
}

bool AncestorCannotBeReplaced(const std::string& ancestorSddl, const std::string& parentSddl) {
    Descriptor ancestor;
    if (!ReadDescriptor(ancestorSddl, ancestor) || !ancestor.daclPresent || !IsTrustedOwnerSid(ancestor.owner) ||
        OthersHoldOnItself(ancestor, kDelete | kWriteDac | kWriteOwner)) {
        return false;
    }
    if (parentSddl.empty()) return true;
    Descriptor parent;
    return ReadDescriptor(parentSddl, parent) && parent.daclPresent && IsTrustedOwnerSid(parent.owner) &&
           !OthersHoldOnItself(parent, kDeleteChild);
}
