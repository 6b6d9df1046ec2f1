#include "timesync/ServerList.h"

#include "platform/FileAccess.h"

#include <cstdio>

namespace {

constexpr std::size_t kLineChunk = 79;

// The next line of at most 79 characters from `at`; false at the end of the bytes.
bool NextLine(const std::string& bytes, std::size_t& at, std::string& line) {
    if (at >= bytes.size()) return false;
    const std::size_t start = at;
    while (at < bytes.size() && at - start < kLineChunk && bytes[at] != '\n') ++at;
    std::size_t end = at;
    // The line end is consumed, also a CR LF that follows a line of exactly 79 characters.
    if (at - start == kLineChunk && at + 1 < bytes.size() && bytes[at] == '\r' && bytes[at + 1] == '\n') at += 2;
    else if (at < bytes.size() && bytes[at] == '\n') ++at;
    if (end > start && bytes[end - 1] == '\r') --end;
    line.assign(bytes, start, end - start);
    const std::size_t nul = line.find('\0');
    if (nul != std::string::npos) line.resize(nul);
    return true;
}

}  // namespace

std::string TrimmedServerName(const std::string& typed) {
    const std::size_t first = typed.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    return typed.substr(first, typed.find_last_not_of(" \t") - first + 1);
}

bool IsValidServerName(const std::string& name) {
    if (name.empty() || name.size() > 253) return false;
    std::size_t labelStart = 0;
    for (std::size_t i = 0; i <= name.size(); ++i) {
        if (i == name.size() || name[i] == '.') {
            const std::size_t length = i - labelStart;
            // A final dot (the root) is allowed after a name.
            if (length == 0 && !(i == name.size() && i > 0)) return false;
            if (length > 63) return false;
            if (length > 0 && (name[labelStart] == '-' || name[i - 1] == '-')) return false;
            labelStart = i + 1;
            continue;
        }
        const char c = name[i];
        const bool allowed = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-';
        if (!allowed) return false;
    }
    return true;
}

std::vector<TimeServer> ParseServerList(const std::string& bytes, std::size_t* leftOut) {
    std::vector<TimeServer> servers;
    std::size_t at = 0, more = 0;
    TimeServer server;
    while (NextLine(bytes, at, server.host)) {
        if (!NextLine(bytes, at, server.description)) server.description.clear();
        if (servers.size() < kMostTimeServers) servers.push_back(server);
        else ++more;
    }
    if (leftOut != nullptr) *leftOut = more;
    return servers;
}

std::vector<TimeServer> ReadServerListFile(const std::string& path, bool& opened, std::size_t* leftOut) {
    std::FILE* file = OpenFileForReading(path);
    opened = file != nullptr;
    if (file == nullptr) return {};
    std::string bytes;
    char buffer[4096];
    constexpr std::size_t kLargestList = 1 << 20;  // far more than any list; the rest is ignored
    for (std::size_t got; bytes.size() < kLargestList && (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;) {
        bytes.append(buffer, got);
    }
    std::fclose(file);
    return ParseServerList(bytes, leftOut);
}
