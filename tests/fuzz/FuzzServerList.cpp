// "servers.txt" of any content: every host and description is at most 79 characters without
// a line feed or NUL, and the pieces account for the bytes (no more servers than pieces of at
// most 79 characters the bytes can make). A read out of bounds or a crash is a finding.
#include "FuzzSupport.h"

#include "timesync/ServerList.h"

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::vector<TimeServer> servers = ParseServerList(bytes);
    FUZZ_CHECK(servers.size() <= size / 2 + 1);
    for (const TimeServer& s : servers) {
        for (const std::string* text : {&s.host, &s.description}) {
            FUZZ_CHECK(text->size() <= 79);
            FUZZ_CHECK(text->find('\n') == std::string::npos);
            FUZZ_CHECK(text->find('\0') == std::string::npos);
        }
    }
    return 0;
}
