#include "timesync/TimeSyncSocket.h"

#include "timesync/ServerList.h"

#include <ws2tcpip.h>

#include <thread>

namespace {

const char kClassName[] = "SolvaneTimeSyncSocket";
constexpr UINT kSocketNotice = WM_APP + 1;    // WSAAsyncSelect's notices
constexpr UINT kLookupFinished = WM_APP + 2;  // a host name's lookup has ended
constexpr UINT_PTR kResendTimer = 1;
constexpr UINT kResendMs = 250;

}  // namespace

struct TimeSyncSocket::HostLookup {
    WPARAM number = 0;
    std::string name;
    in_addr address = {};
    int error = 0;
};

TimeSyncSocket::TimeSyncSocket(ClockSetter& clock, PerformanceCounter& counter, uint16_t port)
    : exchange_(clock, counter), port_(port) {}

TimeSyncSocket::~TimeSyncSocket() {
    close();
    destroy();
}

bool TimeSyncSocket::ensureWindow() {
    if (hwnd() != nullptr) return true;
    return registerClass(kClassName) && create(0, kClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE);
}

void TimeSyncSocket::close() {
    lookup_.reset();  // its thread keeps what it writes to
    if (hwnd() != nullptr) KillTimer(hwnd(), kResendTimer);
    if (socket_ != INVALID_SOCKET) closesocket(socket_);
    socket_ = INVALID_SOCKET;
}

void TimeSyncSocket::synchronize(const std::string& typed) {
    // Every call starts afresh: no outcome of an earlier synchronisation is left to be read.
    close();
    exchange_.start();
    const std::string server = TrimmedServerName(typed);
    if (server.empty()) {
        exchange_.fail(WSAHOST_NOT_FOUND);  // a name of blanks names no server
        return;
    }
    if (!ensureWindow()) {
        exchange_.fail(int(GetLastError()));
        return;
    }
    in_addr address = {};
    address.s_addr = inet_addr(server.c_str());
    if (address.s_addr != INADDR_NONE || server == "255.255.255.255") {
        connectAndSend(address);
        return;
    }
    lookUp(server);
}

void TimeSyncSocket::lookUp(const std::string& name) {
    auto lookup = std::make_shared<HostLookup>();
    lookup->number = ++lookups_;
    lookup->name = name;
    lookup_ = lookup;
    const HWND window = hwnd();
    std::thread([lookup, window] {
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
        PostMessageA(window, kLookupFinished, lookup->number, 0);
    }).detach();
}

void TimeSyncSocket::connectAndSend(in_addr address) {
    socket_ = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    if (socket_ == INVALID_SOCKET) {
        exchange_.fail(WSAGetLastError());
        return;
    }
    sockaddr_in to = {};
    to.sin_family = AF_INET;
    to.sin_port = htons(port_);
    to.sin_addr = address;
    // Connected, the socket hears only the server; the notices make it non-blocking.
    if (WSAAsyncSelect(socket_, hwnd(), kSocketNotice, FD_READ) != 0 ||
        connect(socket_, reinterpret_cast<const sockaddr*>(&to), sizeof to) != 0) {
        exchange_.fail(WSAGetLastError());
        close();
        return;
    }
    if (send(socket_, "", 0, 0) == SOCKET_ERROR) {
        exchange_.fail(WSAGetLastError());
        close();
        return;
    }
    exchange_.requestSent();
    SetTimer(hwnd(), kResendTimer, kResendMs, nullptr);
}

// A request that cannot go is not reported: the next try, or the caller's time-out, follows.
void TimeSyncSocket::sendRequest(bool again) {
    if (send(socket_, "", 0, 0) == SOCKET_ERROR) return;
    if (again) {
        exchange_.resent();
    } else {
        exchange_.requestSent();
    }
    SetTimer(hwnd(), kResendTimer, kResendMs, nullptr);  // (re)started: a quarter second from now
}

void TimeSyncSocket::receive() {
    unsigned char reply[16];
    const int got = recv(socket_, reinterpret_cast<char*>(reply), sizeof reply, 0);
    if (got == SOCKET_ERROR) return;  // dropped; an unanswered exchange ends by time-out
    if (exchange_.onReply(reply, std::size_t(got))) sendRequest(false);
    if (exchange_.done()) close();
}

LRESULT TimeSyncSocket::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case kLookupFinished: {
        if (lookup_ == nullptr || wParam != lookup_->number) return 0;  // a lookup since forgotten
        const std::shared_ptr<HostLookup> lookup = std::move(lookup_);
        if (lookup->error != 0) {
            exchange_.fail(lookup->error);
        } else {
            connectAndSend(lookup->address);
        }
        return 0;
    }
    case WM_TIMER:
        if (wParam == kResendTimer && socket_ != INVALID_SOCKET && !exchange_.done()) sendRequest(true);
        return 0;
    case kSocketNotice:
        if (SOCKET(wParam) != socket_ || socket_ == INVALID_SOCKET) return 0;
        // A refused request (the server's port closed) is silence to the client.
        if (WSAGETSELECTEVENT(lParam) == FD_READ && WSAGETSELECTERROR(lParam) == 0) receive();
        return 0;
    }
    return Window::handleMessage(message, wParam, lParam);
}
