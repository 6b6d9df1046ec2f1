#include "installer/InstallFolderRules.h"

#include "platform/FolderTrust.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

const ShippedFiles& Shipped() {
    static const ShippedFiles shipped =
        ShippedFiles::FromList("solvane.exe\r\nSVShared.dll\r\n\r\nuninstall.exe\ncheby\nhelp\\solvane.htm\nhelp/images/globe.png\n");
    return shipped;
}

// What an upgrade does with each entry it finds in the install folder: files of one link
// unless the group says otherwise.
TEST(InstallFolderRules, EachEntrysFate) {
    struct Group {
        EntryFate fate;
        bool folder;
        uint32_t links;
        std::vector<const char*> paths;
    } groups[] = {
        {EntryFate::Keep, false, 1,
         {"solvane.exe", "uninstall.exe", "help\\SOLVANE.htm", "help\\images\\globe.png", "cheby",
          "user.bin", "archive.dll.bak", "help\\portable"}},
        {EntryFate::Foreign, false, 1,
         {"version.dll", "help\\images\\Tool.EXE", "solvane.exe\\evil.dll", "sneaky.dll. .", "solvane.exe.local"}},
        {EntryFate::Foreign, true, 1, {"solvane.exe.local", "help\\x.LOCAL"}},
        {EntryFate::Enter, true, 1, {"help", "plugins.dll", "portable"}},
        {EntryFate::Delete, false, 1, {"portable", "Portable."}},
        {EntryFate::Delete, false, 2, {"SVShared.dll"}},
        {EntryFate::Delete, false, 3, {"help\\my notes.txt"}},
    };
    for (const Group& g : groups) {
        for (const char* path : g.paths) {
            EXPECT_EQ(FateOf(path, g.folder, g.links, Shipped()), g.fate)
                << path << (g.folder ? " (folder)" : "") << ", " << g.links << " link(s)";
        }
    }
}

TEST(InstallFolderRules, WhatWindowsCouldLoadOrRun) {
    for (const char* name : {"a.exe", "a.DLL", "a.scr", "a.cpl", "a.ps1", "a.manifest", "a.local", ".dll"}) {
        EXPECT_TRUE(IsLoadableName(name)) << name;
    }
    for (const char* name : {"a.txt", "a", "a.exe.txt", "a.dllx", "exe"}) EXPECT_FALSE(IsLoadableName(name)) << name;
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
        {"app execution alias", kArchive | kReparse, 0x8000001B, true},
        {"a name surrogate of another maker", kReparse, 0xA0001234, true},
        {"compressed by the system", kArchive | kReparse, 0x80000017, false},
        {"cloud file placeholder", kFolder | kReparse, 0x9000601A, false},
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
