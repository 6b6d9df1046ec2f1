// A Time Protocol server of the tests' own on the loopback address, answering each request
// from a script, on a thread of its own.
#pragma once

#include <winsock2.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

// The four bytes of a reply carrying Unix time `unixTime` (seconds since 1900, big-endian).
std::string TimeReply(int64_t unixTime);

class TimeServerScript {
public:
    // What to send back for request number `n` (counting from 1): any number of datagrams,
    // none for silence.
    using Script = std::function<std::vector<std::string>(int n)>;

    // Serves on 127.0.0.1:`port` (0: any free port). ok() says whether the port could be had.
    TimeServerScript(uint16_t port, Script script);
    ~TimeServerScript();
    bool ok() const { return socket_ != INVALID_SOCKET; }
    uint16_t port() const { return port_; }
    int requests() const { return requests_; }
    // Sends `datagram` to the last client from another socket of this machine.
    void sendFromAnotherSocket(const std::string& datagram);

private:
    void serve();

    Script script_;
    SOCKET socket_ = INVALID_SOCKET;
    uint16_t port_ = 0;
    std::atomic<int> requests_{0};
    std::atomic<bool> stop_{false};
    sockaddr_in client_ = {};
    std::thread thread_;
};
