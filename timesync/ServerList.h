// "servers.txt", the list of time servers offered in the Set Clock dialog: pairs of lines, a
// server's host name or dotted address, then its description (place, operator). Lines are read
// 79 characters at a time, so the rest of a longer line counts as the next line.
#pragma once

#include <string>
#include <vector>

struct TimeServer {
    std::string host;
    std::string description;
};

// A server name as typed, without the blanks and tabs around it.
std::string TrimmedServerName(const std::string& typed);

// Whether a trimmed name can be a server's host name or dotted address: 1 to 253 characters,
// letters, digits, hyphens and dots only, labels of 1 to 63 characters that neither start nor
// end with a hyphen. The clock is set from names that pass, and only from them.
bool IsValidServerName(const std::string& name);

// The most servers a list offers: a huge file would freeze the dialog while its list fills.
constexpr std::size_t kMostTimeServers = 1000;

// The servers in the file's bytes, the first kMostTimeServers of them; how many more the bytes
// hold goes to `leftOut` when given. A line ends at a line feed (a carriage return before it is
// dropped), also right after a line cut at 79 characters; a NUL ends a line's text. A host line
// at the very end gets an empty description; a line break after the last description adds
// nothing.
std::vector<TimeServer> ParseServerList(const std::string& bytes, std::size_t* leftOut = nullptr);

// The file's servers; `opened` says whether it could be read at all.
std::vector<TimeServer> ReadServerListFile(const std::string& path, bool& opened, std::size_t* leftOut = nullptr);
