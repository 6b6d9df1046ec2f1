#include "timesync/HostLookup.h"

#include <ws2tcpip.h>

#include <system_error>
#include <thread>

std::shared_ptr<HostLookup> StartHostLookup(HWND window, UINT message, WPARAM number, const std::string& name) {
    auto lookup = std::make_shared<HostLookup>();
    lookup->number = number;
    lookup->name = name;
    const auto lookUp = [lookup, window, message] {
        addrinfo hints = {};
        hints.ai_family = AF_INET;
        hints.ai_socktype = SOCK_DGRAM;
        addrinfo* found = nullptr;
        lookup->error = getaddrinfo(lookup->name.c_str(), nullptr, &hints, &found);
        if (lookup->error == 0 && found != nullptr) {
            lookup->address = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr;
        } else if (lookup->error == 0) {
            lookup->error = WSANO_DATA;
        }
        if (found != nullptr) freeaddrinfo(found);
        lookup->done = true;
        PostMessageA(window, message, lookup->number, 0);
    };
    try {
        std::thread(lookUp).detach();
    } catch (const std::system_error&) {
        lookup->error = WSAEPROCLIM;  // no thread to be had
        lookup->done = true;
        PostMessageA(window, message, lookup->number, 0);
    }
    return lookup;
}
