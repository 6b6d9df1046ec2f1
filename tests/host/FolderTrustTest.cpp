#include "platform/FolderTrust.h"

#include <gtest/gtest.h>

namespace {

const std::string kTrustedInstaller = "S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464";
const std::string kUser = "S-1-5-21-1004336348-1177238915-682003330-1001";
// Created in C:\, which lets Authenticated Users modify what is below it.
const std::string kCreatedInRoot = "O:BAD:AI(A;OICIID;FA;;;BA)(A;OICIID;FA;;;SY)(A;OICIID;0x1200a9;;;BU)"
                                   "(A;ID;0x1301bf;;;AU)(A;OICIIOID;SDGXGWGR;;;AU)";

TEST(FolderTrust, DescriptorsOfRealFolders) {
    const std::string ti = kTrustedInstaller, admin = "O:BAD:(A;;FA;;;BA)";
    struct Case {
        const char* what;
        std::string sddl;
        FolderTrust expected;
    } cases[] = {
        {"Program Files itself, CREATOR OWNER entry included",
         "O:" + ti + "G:" + ti + "D:PAI(A;;FA;;;" + ti + ")(A;CIIO;GA;;;" + ti +
             ")(A;;0x1301bf;;;SY)(A;OICIIO;GA;;;SY)(A;;0x1301bf;;;BA)(A;OICIIO;GA;;;BA)(A;;0x1200a9;;;BU)"
             "(A;OICIIO;GXGR;;;BU)(A;OICIIO;GA;;;CO)(A;;0x1200a9;;;AC)(A;OICIIO;GXGR;;;AC)",
         FolderTrust::Trusted},
        {"installed under Program Files",
         "O:BAG:SYD:AI(A;OICIID;FA;;;BA)(A;OICIIOID;GA;;;CO)(A;OICIID;FA;;;SY)(A;OICIID;0x1200a9;;;BU)",
         FolderTrust::Trusted},
        {"owners spelled as SIDs, with a group and an audit part",
         "O:s-1-5-32-544G:S-1-5-18D:P(A;;FA;;;S-1-5-18)(A;;FRFX;;;BU)S:AI(AU;SAFA;FA;;;WD)", FolderTrust::Trusted},
        {"owned by TrustedInstaller, nobody else granted anything", "O:" + ti + "D:P", FolderTrust::Trusted},
        {"deny entries take rights away, never give them", "O:BAD:(D;;FA;;;BU)(D;OICI;GA;;;WD)(A;;FA;;;BA)",
         FolderTrust::Trusted},
        {"created in C:\\", kCreatedInRoot, FolderTrust::WritableByOthers},
        {"a portable copy in the user's own folder",
         "O:" + kUser + "D:AI(A;OICIID;FA;;;SY)(A;OICIID;FA;;;BA)(A;OICIID;FA;;;" + kUser + ")",
         FolderTrust::UntrustedOwner},
        {"the user's own SID may write", admin + "(A;OICI;0x1301bf;;;" + kUser + ")", FolderTrust::WritableByOthers},
        {"inherit-only write reaches the files", admin + "(A;OICIIO;GW;;;BU)", FolderTrust::WritableByOthers},
        {"CREATOR OWNER with folders Users may add", admin + "(A;OICIIO;GA;;;CO)(A;;LC;;;BU)",
         FolderTrust::WritableByOthers},
        {"a conditional grant counts whatever its condition", admin + "(XA;;FA;;;WD;(Member_of {SID(BA)}))",
         FolderTrust::WritableByOthers},
        {"an object entry's rights count", admin + "(OA;;CCDC;bf967aba-0de6-11d0-a285-00aa003049e2;;BU)",
         FolderTrust::WritableByOthers},
        // Single rights, as numbers and letters, counted as the file system reads them.
        {"add file", admin + "(A;;0x2;;;IU)", FolderTrust::WritableByOthers},
        {"write owner, in decimal", "O:BAD:(A;;524288;;;BU)", FolderTrust::WritableByOthers},
        {"generic all", admin + "(A;;GA;;;AU)", FolderTrust::WritableByOthers},
        {"write DAC", admin + "(A;;WD;;;AU)", FolderTrust::WritableByOthers},
        {"KEY_READ holds FILE_WRITE_EA", admin + "(A;;KR;;;AU)", FolderTrust::WritableByOthers},
        {"read and execute", admin + "(A;;0x1200a9;;;WD)", FolderTrust::Trusted},
        {"read letters", admin + "(A;;GRGXRC;;;AU)", FolderTrust::Trusted},
        {"directory-service letters that are no file write", admin + "(A;;WP;;;AU)", FolderTrust::Trusted},
        {"a file system without ACLs", "O:BAD:NO_ACCESS_CONTROL", FolderTrust::NoSecurity},
        {"no DACL asked for or given", "O:BAG:SY", FolderTrust::NoSecurity},
        {"no owner", "D:PAI(A;OICI;FA;;;SY)", FolderTrust::UntrustedOwner},
    };
    for (const Case& c : cases) EXPECT_EQ(JudgeFolderSecurity(c.sddl), c.expected) << c.what << ": " << c.sddl;
    for (const char* garbage : {"", "garbage", "O:BA", "O:BAD:(A;;FA;;BU)", "O:BAD:(A;;FA;;;BU", "O:BAD:(Q;;FA;;;BU)",
                                "O:BAD:(A;;ZZ;;;BU)", "O:BAD:(A;;0x100000000;;;BU)", "O:BAD:(A;;FR;;;S-1-5--18)",
                                "O:BAD:(A;;FR;;;BU)D:(A;;FR;;;BU)"}) {
        EXPECT_EQ(JudgeFolderSecurity(garbage), FolderTrust::NoSecurity) << garbage;
    }
}

TEST(FolderTrust, AncestorsThatCannotBeReplaced) {
    const std::string ti = kTrustedInstaller;
    const std::string root = "O:" + ti + "G:" + ti +
                             "D:PAI(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x1200a9;;;BU)(A;OICIIO;SDGXGWGR;;;AU)"
                             "(A;;LC;;;AU)";
    const std::string users = "O:SYG:SYD:PAI(A;OICIIO;GA;;;CO)(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;;0x1200a9;;;BU)"
                              "(A;OICIIO;GXGR;;;BU)(A;;0x1200a9;;;WD)(A;OICIIO;GXGR;;;WD)";
    const std::string admins = "O:BAD:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x1200a9;;;BU)";
    struct Case {
        const char* what;
        std::string ancestor, parent;
        bool expected;
    } cases[] = {
        {"Windows' C:\\: users may add folders beside, not touch it", root, "", true},
        {"C:\\Users under C:\\", users, root, true},
        {"created under C:\\", kCreatedInRoot, root, false},
        {"owned by the user, who may rewrite its rights", "O:" + kUser + "D:P(A;;FA;;;BA)", users, false},
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
    for (const std::string& sid : {std::string("BA"), std::string("s-1-5-18"), kTrustedInstaller}) {
        EXPECT_TRUE(IsTrustedOwnerSid(sid)) << sid;
    }
    for (const std::string& sid :
         {std::string("BU"), std::string("CO"), std::string("S-1-5-18-1"), kUser, std::string()}) {
        EXPECT_FALSE(IsTrustedOwnerSid(sid)) << sid;
    }
}

}  // namespace
