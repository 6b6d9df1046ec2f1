// The trust decision (FolderTrust.h) on a folder or file of this PC, from the security
// descriptor the system keeps for it.
#pragma once

#include "platform/FolderTrust.h"

#include <cstdint>
#include <string>

// The decision on `path` (UTF-8; a folder may end in a backslash); NoSecurity when its
// descriptor cannot be read.
FolderTrust ReadFolderTrust(const std::string& path);

// A stand-in for the reading, for the tests under wine, whose descriptors are made up from Unix
// file modes: 0 reads the descriptors; any other value is one more than the FolderTrust that
// every path gets. The test program sets it in its own process, or writes it into a process of
// the program that it starts suspended (hence its export, by which its place is found). Only a
// process that may write this one's memory can set it, and that process owns this one anyway.
extern "C" volatile int32_t SolvaneFolderTrustStandIn;
