#include "platform/FolderTrust.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>

namespace {

const std::string kTrustedInstaller = "S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464";
const std::string kUser = "S-1-5-21-1004336348-1177238915-682003330-1001";

TEST(FolderTrust, DescriptorsOfRealFolders) {
    const std::string ti = kTrustedInstaller;
    struct Case {
        const char* what;
        std::string sddl;
        FolderTrust expected;
    } cases[] = {
        {"Program Files itself, CREATOR OWNER entry included",
         "O:" + ti + "G:" + ti + "D:PAI(A;;FA;;;" + ti + ")(A;CIIO;GA;;;" + ti +
             ")(A;;0x1301bf;;;SY)(A;OICIIO;GA;;;SY)(A;;0x1301bf;;;BA)(A;OICIIO;GA;;;BA)(A;;0x1200a9;;;BU)"
             "(A;OICIIO;GXGR;;;BU)(A;OICIIO;GA;;;CO)(A;;0x1200a9;;;AC)(A;OICIIO;GXGR;;;AC)(A;;0x1200a9;;;S-1-15-2-2)"
             "(A;OICIIO;GXGR;;;S-1-15-2-2)",
         FolderTrust::Trusted},
        {"installed under Program Files",
         "O:BAG:SYD:AI(A;OICIID;FA;;;BA)(A;OICIIOID;GA;;;CO)(A;OICIID;FA;;;SY)(A;OICIID;0x1200a9;;;BU)",
         FolderTrust::Trusted},
        {"made trusted outside Program Files", "O:BAD:PAI(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)",
         FolderTrust::Trusted},
        {"owners spelled as SIDs, with a group and an audit part",
         "O:s-1-5-32-544G:S-1-5-18D:P(A;;FA;;;S-1-5-18)(A;;FRFX;;;BU)S:AI(AU;SAFA;FA;;;WD)", FolderTrust::Trusted},
        {"owned by TrustedInstaller, nobody else granted anything", "O:" + ti + "D:P", FolderTrust::Trusted},
        {"deny entries take rights away, never give them", "O:BAD:(D;;FA;;;BU)(D;OICI;GA;;;WD)(A;;FA;;;BA)",
         FolderTrust::Trusted},
        {"created in C:\\, which lets Authenticated Users modify what is below it",
         "O:BAD:AI(A;OICIID;FA;;;BA)(A;OICIID;FA;;;SY)(A;OICIID;0x1200a9;;;BU)(A;ID;0x1301bf;;;AU)"
         "(A;OICIIOID;SDGXGWGR;;;AU)",
         FolderTrust::WritableByOthers},
        {"a portable copy in the user's own folder",
         "O:" + kUser + "D:AI(A;OICIID;FA;;;SY)(A;OICIID;FA;;;BA)(A;OICIID;FA;;;" + kUser + ")",
         FolderTrust::UntrustedOwner},
        {"owned by Administrators but the user's own SID may write",
         "O:BAD:(A;;FA;;;BA)(A;OICI;0x1301bf;;;" + kUser + ")", FolderTrust::WritableByOthers},
        {"inherit-only write for Users reaches the files", "O:BAD:(A;;FA;;;BA)(A;OICIIO;GW;;;BU)",
         FolderTrust::WritableByOthers},
        {"CREATOR OWNER with folders Users may add", "O:BAD:(A;;FA;;;BA)(A;OICIIO;GA;;;CO)(A;;LC;;;BU)",
         FolderTrust::WritableByOthers},
        {"Everyone may write", "O:SYD:(A;;FA;;;SY)(A;OICI;FW;;;WD)", FolderTrust::WritableByOthers},
        {"INTERACTIVE may add files", "O:BAD:(A;;FA;;;BA)(A;;0x2;;;IU)", FolderTrust::WritableByOthers},
        {"a conditional grant counts whatever its condition",
         "O:BAD:(A;;FA;;;BA)(XA;;FA;;;WD;(Member_of {SID(BA)}))", FolderTrust::WritableByOthers},
        {"an object entry's rights count", "O:BAD:(A;;FA;;;BA)(OA;;CCDC;bf967aba-0de6-11d0-a285-00aa003049e2;;BU)",
         FolderTrust::WritableByOthers},
        {"a file system without ACLs", "O:BAD:NO_ACCESS_CONTROL", FolderTrust::NoSecurity},
        {"no DACL asked for or given", "O:BAG:SY", FolderTrust::NoSecurity},
        {"no owner", "D:PAI(A;OICI;FA;;;SY)", FolderTrust::UntrustedOwner},
    };
    for (const Case& c : cases) EXPECT_EQ(JudgeFolderSecurity(c.sddl), c.expected) << c.what << ": " << c.sddl;
}

TEST(FolderTrust, EveryWriteRightAndNoReadRight) {
    const uint32_t writes[] = {0x2, 0x4, 0x10, 0x40, 0x100, 0x10000, 0x40000, 0x80000, 0x2000000, 0x10000000, 0x40000000};
    const uint32_t reads[] = {0x1, 0x8, 0x20, 0x80, 0x20000, 0x100000, 0x1000000, 0x20000000, 0x80000000, 0x1200a9};
    char sddl[96];
    for (const uint32_t right : writes) {
        std::snprintf(sddl, sizeof sddl, "O:BAD:(A;;FA;;;BA)(A;;0x%x;;;BU)", unsigned(right));
        EXPECT_EQ(JudgeFolderSecurity(sddl), FolderTrust::WritableByOthers) << sddl;
        std::snprintf(sddl, sizeof sddl, "O:BAD:(A;;%u;;;BU)", unsigned(right));
        EXPECT_EQ(JudgeFolderSecurity(sddl), FolderTrust::WritableByOthers) << sddl;
    }
    for (const uint32_t right : reads) {
        std::snprintf(sddl, sizeof sddl, "O:BAD:(A;;FA;;;BA)(A;;0x%X;;;WD)", unsigned(right));
        EXPECT_EQ(JudgeFolderSecurity(sddl), FolderTrust::Trusted) << sddl;
    }
    // Bits count as the file system reads them: KEY_READ holds 0x10, FILE_WRITE_EA.
    for (const char* letters : {"GA", "GW", "WD", "WO", "SD", "FA", "FW", "DC", "LC", "RP", "DT", "CR", "KA", "KW", "KR"}) {
        EXPECT_EQ(JudgeFolderSecurity(std::string("O:BAD:(A;;") + letters + ";;;AU)"), FolderTrust::WritableByOthers)
            << letters;
    }
    for (const char* letters : {"GR", "GX", "FR", "FX", "RC", "CC", "SW", "WP", "LO", "GRGXRC"}) {
        EXPECT_EQ(JudgeFolderSecurity(std::string("O:BAD:(A;;") + letters + ";;;AU)"), FolderTrust::Trusted) << letters;
    }
}

TEST(FolderTrust, TextThatIsNoDescriptorIsNotTrusted) {
    for (const char* garbage : {"", "garbage", "O:BA", "O:BAD:(A;;FA;;BU)", "O:BAD:(A;;FA;;;BU", "O:BAD:(Q;;FA;;;BU)",
                                "O:BAD:(A;;ZZ;;;BU)", "O:BAD:(A;;0x100000000;;;BU)", "O:BAD:(A;O;FA;;;BU)",
                                "O:BAD:(A;;FR;;;S-1-5--18)", "O:B1D:(A;;FR;;;BU)", "O:BAD:(A;;FR;;;BU)X:",
                                "O:BAD:(A;;FR;;;BU)D:(A;;FR;;;BU)"}) {
        EXPECT_EQ(JudgeFolderSecurity(garbage), FolderTrust::NoSecurity) << garbage;
    }
}

TEST(FolderTrust, AncestorsThatCannotBeReplaced) {
    const std::string ti = kTrustedInstaller;
    const std::string root = "O:" + ti + "G:" + ti +
                             "D:PAI(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x1200a9;;;BU)(A;OICIIO;SDGXGWGR;;;AU)"
                             "(A;;LC;;;AU)";
    const std::string programFiles =
        "O:" + ti + "G:" + ti + "D:PAI(A;;FA;;;" + ti + ")(A;CIIO;GA;;;" + ti +
        ")(A;;0x1301bf;;;SY)(A;OICIIO;GA;;;SY)(A;;0x1301bf;;;BA)(A;OICIIO;GA;;;BA)(A;;0x1200a9;;;BU)"
        "(A;OICIIO;GXGR;;;BU)(A;OICIIO;GA;;;CO)(A;;0x1200a9;;;AC)(A;OICIIO;GXGR;;;AC)";
    const std::string users = "O:SYG:SYD:PAI(A;OICIIO;GA;;;CO)(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;;0x1200a9;;;BU)"
                              "(A;OICIIO;GXGR;;;BU)(A;;0x1200a9;;;WD)(A;OICIIO;GXGR;;;WD)";
    const std::string admins = "O:BAD:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x1200a9;;;BU)";
    struct Case {
        const char* what;
        std::string ancestor, parent;
        bool expected;
    } cases[] = {
        {"Windows' C:\\: users may add folders beside, not touch it", root, "", true},
        {"Program Files under C:\\", programFiles, root, true},
        {"C:\\Users under C:\\", users, root, true},
        {"made trusted under C:\\", admins, root, true},
        {"created under C:\\, inheriting Authenticated Users: Modify",
         "O:BAD:AI(A;OICIID;FA;;;BA)(A;OICIID;FA;;;SY)(A;OICIID;0x1200a9;;;BU)(A;ID;0x1301bf;;;AU)"
         "(A;OICIIOID;SDGXGWGR;;;AU)",
         root, false},
        {"a user's profile, owned by the user",
         "O:" + kUser + "D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;FA;;;" + kUser + ")", users, false},
        {"owned by the user, who may rewrite its rights", "O:" + kUser + "D:P(A;;FA;;;BA)", admins, false},
        {"users may delete it", "O:BAD:(A;;FA;;;BA)(A;;SD;;;BU)", admins, false},
        {"users may rewrite its rights", "O:BAD:(A;;FA;;;BA)(A;;WD;;;AU)", admins, false},
        {"generic write holds none of these", "O:BAD:(A;;FA;;;BA)(A;;GWGR;;;BU)", admins, true},
        {"write data and add folders leave it in place", "O:BAD:(A;;FA;;;BA)(A;;0x120116;;;BU)", admins, true},
        {"the parent lets users delete its children", admins, "O:BAD:(A;;FA;;;BA)(A;;DT;;;BU)", false},
        {"the parent gives users generic all", admins, "O:BAD:(A;;FA;;;BA)(A;;GA;;;AU)", false},
        {"the parent's inherit-only delete child is not its own", admins, "O:BAD:(A;;FA;;;BA)(A;CIIO;DT;;;BU)",
         true},
        {"CREATOR OWNER on itself is no one's", "O:BAD:(A;;FA;;;BA)(A;;FA;;;CO)", admins, true},
        {"the parent's owner may give itself delete child", admins, "O:" + kUser + "D:(A;;FA;;;BA)", false},
        {"a file system without ACLs", "O:BAD:NO_ACCESS_CONTROL", admins, false},
        {"a parent without ACLs", admins, "O:BAD:NO_ACCESS_CONTROL", false},
        {"no descriptor", "", admins, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AncestorCannotBeReplaced(c.ancestor, c.parent), c.expected) << c.what << ": " << c.ancestor;
    }
}

TEST(FolderTrust, TrustedOwners) {
    for (const std::string& sid : {std::string("BA"), std::string("SY"), std::string("S-1-5-32-544"),
                                   std::string("s-1-5-18"), kTrustedInstaller}) {
        EXPECT_TRUE(IsTrustedOwnerSid(sid)) << sid;
    }
    for (const std::string& sid : {std::string("BU"), std::string("AU"), std::string("WD"), std::string("CO"),
                                   std::string("S-1-5-32-545"), std::string("S-1-5-18-1"), kUser, std::string("")}) {
        EXPECT_FALSE(IsTrustedOwnerSid(sid)) << sid;
    }
}

}  // namespace
