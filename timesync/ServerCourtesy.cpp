#include "timesync/ServerCourtesy.h"

#include "timesync/ServerList.h"

#include <algorithm>
#include <cctype>

std::string ServerCourtesy::key(const std::string& server) {
    std::string name = TrimmedServerName(server);
    for (char& c : name) c = char(std::tolower(static_cast<unsigned char>(c)));
    return name;
}

double ServerCourtesy::waitBefore(const std::string& server, double now) const {
    const auto last = lastContact_.find(key(server));
    if (last == lastContact_.end()) return 0;
    return std::max(0.0, last->second + spacing_ - now);
}

void ServerCourtesy::contacted(const std::string& server, double now) { lastContact_[key(server)] = now; }

void ServerCourtesy::refused(const std::string& server, const std::string& code) { refusals_[key(server)] = code; }

bool ServerCourtesy::hasRefused(const std::string& server, std::string& code) const {
    const auto refusal = refusals_.find(key(server));
    if (refusal == refusals_.end()) return false;
    code = refusal->second;
    return true;
}
