// Setup's work on the install folder before it writes its files: the folder becomes the
// administrators' alone (trusted), with nothing in it that a user could have planted for
// Windows to load or run. Every entry is opened as itself, never through a link, and a link
// anywhere inside stops the work.
#pragma once

#include "installer/InstallFolderRules.h"

#include <cstdint>
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
    Replaceable = 5,   // users could rename or replace the folder or one above it; detail: which
};

struct TakeOverResult {
    TakeOverStatus status = TakeOverStatus::Done;
    std::string detail;  // UTF-8
};

// A stand-in for reading the descriptors of the folders above the install folder, for the tests
// under wine, whose descriptors are made up from Unix file modes: 0 reads them; 1 takes them
// for the administrators' alone, any other value for replaceable. The test writes it into the
// helper process that Setup starts, as the debugger of Setup (hence its export, by which its
// place is found). Only a process that may write the helper's memory can set it, and that
// process is an administrator's anyway.
extern "C" volatile int32_t SolvaneAncestorsStandIn;

// Whether Setup may take the folder: the decisions of TakeOverInstallFolder, with nothing
// changed. Both refuse a folder that users could rename or replace once Setup has made it the
// administrators', or that lies in a folder they could (AncestorCannotBeReplaced, missing
// folders counted as Setup makes them).
TakeOverResult CheckInstallFolder(const std::string& folder, InstallKind kind, const ShippedFiles& shipped);

// Checks the folder, then makes it (or takes it over): owner Administrators and
// kInstallFolderSddl; every entry in it owned by Administrators with the rights it inherits;
// deletes what FateOf says goes, refusing foreign code in a fresh install. Needs an
// administrator's rights (it takes ownership as one).
TakeOverResult TakeOverInstallFolder(const std::string& folder, InstallKind kind, const ShippedFiles& shipped);
