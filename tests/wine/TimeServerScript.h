// A time server of the tests' own on the loopback address, answering each request from a
// script, on a thread of its own.
#pragma once

#include <winsock2.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

// The four bytes of a Time Protocol reply carrying Unix time `unixTime` (seconds since 1900,
// big-endian).
std::string TimeReply(int64_t unixTime);

// An NTP server's answer to `request` with its clock at `serverTime` (Unix seconds), version 4,
// at `stratum`; a Kiss-o'-Death with `kiss` as its code when stratum is 0.
std::string NtpAnswer(const std::string& request, double serverTime, int stratum = 1, const char* kiss = "");

class TimeServerScript {
public:
    // What to send back for request number `n` (counting from 1), whose bytes are `request`:
    // any number of datagrams, none for silence.
    using Script = std::function<std::vector<std::string>(int n, const std::string& request)>;

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
