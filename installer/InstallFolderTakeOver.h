// Setup's work on the install folder before it writes its files: the folder becomes the
// administrators' alone (trusted), with nothing in it that a user could have planted for
// Windows to load or run. Every entry is opened as itself, never through a link, and a link
// anywhere inside stops the work.
#pragma once

#include "installer/InstallFolderRules.h"

#include <string>

enum class InstallKind {
    Fresh,    // no earlier installation is registered for the folder
    Upgrade,  // the uninstall entry names the folder
};

// The outcome; the values are the helper program's exit statuses.
enum class TakeOverStatus {
    Done = 0,
    Failed = 1,        // detail: what could not be done, and the system's reason
    ForeignOwner = 2,  // a fresh install into a folder someone else owns; detail: the owner
    Link = 3,          // a junction or symbolic link; detail: its path
    ForeignCode = 4,   // a fresh install into a folder holding programs of others; detail: one
};

struct TakeOverResult {
    TakeOverStatus status = TakeOverStatus::Done;
    std::string detail;  // UTF-8
};

// Whether Setup may take the folder (a missing one may always be made): the decisions of
// TakeOverInstallFolder, with nothing changed.
TakeOverResult CheckInstallFolder(const std::string& folder, InstallKind kind, const ShippedFiles& shipped);

// Checks the folder, then makes it (or takes it over): owner Administrators and
// kInstallFolderSddl; every entry in it owned by Administrators with the rights it inherits;
// deletes what FateOf says goes, refusing foreign code in a fresh install. Needs an
// administrator's rights (it takes ownership as one).
TakeOverResult TakeOverInstallFolder(const std::string& folder, InstallKind kind, const ShippedFiles& shipped);
