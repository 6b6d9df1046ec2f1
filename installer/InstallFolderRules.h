// What Setup decides about an install folder and the entries in it, without touching one:
// which entries go, which links stop it, and the rights it gives.
#pragma once

#include <cstdint>
#include <set>
#include <string>

// The files the installer writes into the folder, as paths relative to it ("help\solvane.htm"),
// compared as Windows compares names: without regard to case, "/" the same as "\".
class ShippedFiles {
public:
    // One path a line; blank lines and carriage returns are skipped.
    static ShippedFiles FromList(const std::string& text);
    bool contains(const std::string& relativePath) const;

private:
    std::set<std::string> paths_;  // in the form NormalName gives
};

// Whether Windows could load or run a file of this name (programs, libraries, drivers, screen
// savers, control panel items, installer packages, scripts, manifests) or would take it to
// redirect a program's libraries ("*.local"). Trailing dots and spaces, which Windows drops
// from names, do not hide an extension.
bool IsLoadableName(const std::string& name);

enum class EntryFate {
    Keep,     // a file of the installer's or of the user's: its rights are reset
    Enter,    // a folder: its rights are reset and its entries judged in turn
    Delete,   // the portable marker, or a second name of a file kept elsewhere
    Foreign,  // code the installer does not ship: an upgrade deletes it (a folder with all in
              // it), a fresh install refuses the folder
};

// The fate of the entry at `relativePath` (backslashes) in the install folder. `linkCount` is
// the number of names its file has: a file that has others is not the folder's to change (its
// rights are the other names' too), so its name here goes; its data stays at the others.
EntryFate FateOf(const std::string& relativePath, bool isFolder, uint32_t linkCount, const ShippedFiles& shipped);

// Whether an entry with these attributes and reparse tag leads elsewhere (a junction, a
// symbolic link, any other name surrogate, an app execution alias), as opposed to a file or
// folder whose data is only kept in another way (compressed by the system, deduplicated,
// held in the cloud).
bool IsLinkEntry(uint32_t attributes, uint32_t reparseTag);

// The security descriptors Setup gives, in SDDL: the install folder owned by Administrators,
// SYSTEM and Administrators in full control, Users reading and running, nothing inherited from
// its parent; and each folder and file in it, the same inherited from the folder.
extern const char kInstallFolderSddl[];
extern const char kFolderInsideSddl[];
extern const char kFileInsideSddl[];
