// A host name's IPv4 address, looked up on a thread of its own so that no window waits for the
// network. The answer comes to a window as a message whose wParam is the lookup's number; the
// caller keeps the lookup and reads it then. A lookup the caller dropped still ends harmlessly:
// its thread holds it until then.
#pragma once

#include <winsock2.h>

#include <atomic>
#include <memory>
#include <string>

struct HostLookup {
    std::atomic<bool> done{false};  // set before the message goes
    WPARAM number = 0;
    std::string name;
    in_addr address = {};
    int error = 0;  // a Windows Sockets error; 0 when the address was found
};

// Starts looking up `name`; `message` with wParam `number` goes to `window` when it ends. A
// lookup that cannot start ends at once with an error.
std::shared_ptr<HostLookup> StartHostLookup(HWND window, UINT message, WPARAM number, const std::string& name);
