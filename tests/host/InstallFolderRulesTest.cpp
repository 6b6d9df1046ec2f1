#include "installer/InstallFolderRules.h"

#include "platform/FolderTrust.h"

#include <gtest/gtest.h>

namespace {

const ShippedFiles& Shipped() {
    static const ShippedFiles shipped =
        ShippedFiles::FromList("solvane.exe\r\nSVShared.dll\r\n\r\nuninstall.exe\ncheby\nhelp\\solvane.htm\nhelp/images/globe.png\n");
    return shipped;
}

// What an upgrade does with each entry it finds in the install folder.
TEST(InstallFolderRules, EachEntrysFate) {
    struct Case {
        const char* path;
        bool folder;
        uint32_t links;
        EntryFate fate;
    } cases[] = {
        {"solvane.exe", false, 1, EntryFate::Keep},
        {"SOLVANE.EXE", false, 1, EntryFate::Keep},
        {"uninstall.exe", false, 1, EntryFate::Keep},
        {"help\\SOLVANE.htm", false, 1, EntryFate::Keep},
        {"help\\images\\globe.png", false, 1, EntryFate::Keep},
        {"cheby", false, 1, EntryFate::Keep},
        {"user.bin", false, 1, EntryFate::Keep},
        {"help\\my notes.txt", false, 1, EntryFate::Keep},
        {"archive.dll.bak", false, 1, EntryFate::Keep},
        {"dll", false, 1, EntryFate::Keep},
        {"version.dll", false, 1, EntryFate::Foreign},
        {"help\\evil.dll", false, 1, EntryFate::Foreign},
        {"help\\images\\Tool.EXE", false, 1, EntryFate::Foreign},
        {"solvane.exe\\evil.dll", false, 1, EntryFate::Foreign},
        {"sneaky.dll. .", false, 1, EntryFate::Foreign},
        {"setup.msi", false, 1, EntryFate::Foreign},
        {"run.ps1", false, 1, EntryFate::Foreign},
        {"solvane.exe.manifest", false, 1, EntryFate::Foreign},
        {"solvane.exe.local", false, 1, EntryFate::Foreign},
        {"solvane.exe.local", true, 1, EntryFate::Foreign},
        {"help\\x.LOCAL", true, 1, EntryFate::Foreign},
        {"help", true, 1, EntryFate::Enter},
        {"plugins.dll", true, 1, EntryFate::Enter},
        {"portable", false, 1, EntryFate::Delete},
        {"Portable.", false, 1, EntryFate::Delete},
        {"help\\portable", false, 1, EntryFate::Keep},
        {"portable", true, 1, EntryFate::Enter},
        {"SVShared.dll", false, 2, EntryFate::Delete},
        {"help\\my notes.txt", false, 3, EntryFate::Delete},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FateOf(c.path, c.folder, c.links, Shipped()), c.fate) << c.path << (c.folder ? " (folder)" : "");
    }
}

TEST(InstallFolderRules, WhatWindowsCouldLoadOrRun) {
    for (const char* name : {"a.exe", "a.DLL", "a.scr", "a.com", "a.cpl", "a.ocx", "a.sys", "a.msi", "a.bat",
                             "a.cmd", "a.ps1", "a.vbs", "a.js", "a.manifest", "a.local", "a.pif", ".dll"}) {
        EXPECT_TRUE(IsLoadableName(name)) << name;
    }
    for (const char* name : {"a.txt", "a.htm", "a.png", "a.css", "a.bin", "a", "a.exe.txt", "a.dllx", "exe"}) {
        EXPECT_FALSE(IsLoadableName(name)) << name;
    }
}

// Links lead elsewhere; data kept in another way (the system's compression, deduplication,
// cloud files) does not; a tag counts only with the reparse point attribute.
TEST(InstallFolderRules, WhichReparsePointsAreLinks) {
    constexpr uint32_t kReparse = 0x400, kFolder = 0x10, kArchive = 0x20;
    struct Case {
        const char* what;
        uint32_t attributes, tag;
        bool link;
    } cases[] = {
        {"junction", kFolder | kReparse, 0xA0000003, true},
        {"symbolic link to a file", kArchive | kReparse, 0xA000000C, true},
        {"symbolic link to a folder", kFolder | kReparse, 0xA000000C, true},
        {"Linux subsystem's link", kReparse, 0xA000001D, true},
        {"app execution alias", kArchive | kReparse, 0x8000001B, true},
        {"a name surrogate of another maker", kReparse, 0xA0001234, true},
        {"compressed by the system", kArchive | kReparse, 0x80000017, false},
        {"deduplicated", kArchive | kReparse, 0x80000013, false},
        {"cloud file placeholder", kFolder | kReparse, 0x9000601A, false},
        {"plain folder", kFolder, 0, false},
        {"a stale tag without the attribute", kFolder, 0xA0000003, false},
    };
    for (const Case& c : cases) EXPECT_EQ(IsLinkEntry(c.attributes, c.tag), c.link) << c.what;
}

// What Setup gives the folder and everything in it is what the programs trust, and the folder
// (or a parent Setup makes) stays in place under Windows' C:\, in Program Files, and in a
// folder Setup made.
TEST(InstallFolderRules, TheRightsGivenAreTrusted) {
    for (const char* sddl : {kInstallFolderSddl, kFolderInsideSddl, kFileInsideSddl}) {
        EXPECT_EQ(JudgeFolderSecurity(sddl), FolderTrust::Trusted) << sddl;
    }
    const std::string root = "O:SYD:PAI(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x1200a9;;;BU)"
                             "(A;OICIIO;SDGXGWGR;;;AU)(A;;LC;;;AU)";
    const std::string programFiles = "O:SYD:PAI(A;;0x1301bf;;;SY)(A;OICIIO;GA;;;SY)(A;;0x1301bf;;;BA)"
                                     "(A;OICIIO;GA;;;BA)(A;;0x1200a9;;;BU)(A;OICIIO;GXGR;;;BU)(A;OICIIO;GA;;;CO)";
    for (const std::string& parent : {root, programFiles, std::string(kInstallFolderSddl)}) {
        EXPECT_TRUE(AncestorCannotBeReplaced(kInstallFolderSddl, parent)) << parent;
    }
}

}  // namespace
