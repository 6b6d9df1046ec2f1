#include "TimeServerScript.h"

#include "timesync/NtpPacket.h"

#include <algorithm>
#include <cstring>

std::string TimeReply(int64_t unixTime) {
    const uint32_t since1900 = uint32_t(unixTime + 2208988800LL);
    return {char(since1900 >> 24), char(since1900 >> 16), char(since1900 >> 8), char(since1900)};
}

std::string NtpAnswer(const std::string& request, double serverTime, int stratum, const char* kiss) {
    std::string p(kNtpPacketBytes, '\0');
    p[0] = char(4 << 3 | 4);
    p[1] = char(stratum);
    if (stratum == 0) std::memcpy(&p[12], kiss, std::min<std::size_t>(4, std::strlen(kiss)));
    if (request.size() >= kNtpPacketBytes) p.replace(24, 8, request, 40, 8);
    const NtpTimestamp t = NtpOfUnixTime(serverTime);
    for (const std::size_t at : {32u, 40u}) {
        for (int i = 0; i < 4; ++i) {
            p[at + i] = char(t.seconds >> (24 - 8 * i));
            p[at + 4 + i] = char(t.fraction >> (24 - 8 * i));
        }
    }
    return p;
}

TimeServerScript::TimeServerScript(uint16_t port, Script script) : script_(std::move(script)) {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    socket_ = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    sockaddr_in at = {};
    at.sin_family = AF_INET;
    at.sin_port = htons(port);
    at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (socket_ == INVALID_SOCKET || bind(socket_, reinterpret_cast<sockaddr*>(&at), sizeof at) != 0) {
        if (socket_ != INVALID_SOCKET) closesocket(socket_);
        socket_ = INVALID_SOCKET;
        return;
    }
    int length = sizeof at;
    getsockname(socket_, reinterpret_cast<sockaddr*>(&at), &length);
    port_ = ntohs(at.sin_port);
    DWORD timeoutMs = 100;  // so that the thread sees the stop request
    setsockopt(socket_, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeoutMs), sizeof timeoutMs);
    thread_ = std::thread([this] { serve(); });
}

TimeServerScript::~TimeServerScript() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    if (socket_ != INVALID_SOCKET) closesocket(socket_);
    WSACleanup();
}

void TimeServerScript::serve() {
    char request[512];
    while (!stop_) {
        sockaddr_in from = {};
        int length = sizeof from;
        const int got = recvfrom(socket_, request, sizeof request, 0, reinterpret_cast<sockaddr*>(&from), &length);
        if (got == SOCKET_ERROR) continue;
        client_ = from;
        const int n = ++requests_;
        for (const std::string& datagram : script_(n, std::string(request, std::size_t(got)))) {
            sendto(socket_, datagram.data(), int(datagram.size()), 0, reinterpret_cast<sockaddr*>(&from), sizeof from);
        }
    }
}

void TimeServerScript::sendFromAnotherSocket(const std::string& datagram) {
    SOCKET other = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    sockaddr_in to = client_;
    sendto(other, datagram.data(), int(datagram.size()), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
    closesocket(other);
}
