// The trust decisions (FolderTrust.h) on a program file of this PC, from the security
// descriptors the system keeps for it and the folders above it.
#pragma once

#include <cstdint>
#include <string>

// Whether the file at `path` (UTF-8) is safe to run or load: the file and its folder are
// trusted, and neither that folder nor any above it up to the drive's root can be replaced
// (AncestorCannotBeReplaced). A link on the way (junction, symbolic link), a path that is not on
// a fixed drive, or a descriptor that cannot be read: not trusted.
bool ProgramFileIsTrusted(const std::string& path);

// A stand-in for the reading, for the tests under wine, whose descriptors are made up from Unix
// file modes: 0 reads the descriptors; 1 trusts every file, any other value none. The test
// program sets it in its own process, or writes it into a process of the program that it starts
// suspended (hence its export, by which its place is found). Only a process that may write this
// one's memory can set it, and that process owns this one anyway.
extern "C" volatile int32_t SolvaneFolderTrustStandIn;
