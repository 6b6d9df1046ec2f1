#include "timesync/TimeSyncSocket.h"

namespace {

const char kClassName[] = "SolvaneTimeSyncSocket";
constexpr UINT kSocketNotice = WM_APP + 1;   // WSAAsyncSelect's notices
constexpr UINT kLookupFinished = WM_APP + 2; // WSAAsyncGetHostByName's answer

}  // namespace

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
    if (lookup_ != nullptr) WSACancelAsyncRequest(lookup_);
    lookup_ = nullptr;
    if (socket_ != INVALID_SOCKET) closesocket(socket_);
    socket_ = INVALID_SOCKET;
}

void TimeSyncSocket::synchronize(const std::string& server) {
    if (server.empty()) return;
    close();
    exchange_.start();
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
    lookup_ = WSAAsyncGetHostByName(hwnd(), kLookupFinished, server.c_str(), hostEntry_, sizeof hostEntry_);
    if (lookup_ == nullptr) exchange_.fail(WSAGetLastError());
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
}

void TimeSyncSocket::sendRequest() {
    // A request that cannot go is not reported: the exchange then ends by time-out.
    if (send(socket_, "", 0, 0) != SOCKET_ERROR) exchange_.requestSent();
}

void TimeSyncSocket::receive() {
    unsigned char reply[16];
    const int got = recv(socket_, reinterpret_cast<char*>(reply), sizeof reply, 0);
    if (got == SOCKET_ERROR) return;  // dropped; an unanswered exchange ends by time-out
    if (exchange_.onReply(reply, std::size_t(got))) sendRequest();
    if (exchange_.done()) close();
}

LRESULT TimeSyncSocket::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case kLookupFinished: {
        if (HANDLE(wParam) != lookup_ || lookup_ == nullptr) return 0;  // a lookup since forgotten
        lookup_ = nullptr;
        if (const int error = WSAGETASYNCERROR(lParam)) {
            exchange_.fail(error);
            return 0;
        }
        const hostent* host = reinterpret_cast<const hostent*>(hostEntry_);
        if (host->h_addrtype != AF_INET || host->h_addr_list == nullptr || host->h_addr_list[0] == nullptr) {
            exchange_.fail(WSANO_DATA);
            return 0;
        }
        in_addr address;
        memcpy(&address, host->h_addr_list[0], sizeof address);
        connectAndSend(address);
        return 0;
    }
    case kSocketNotice:
        if (SOCKET(wParam) != socket_ || socket_ == INVALID_SOCKET) return 0;
        // A refused request (the server's port closed) is silence to the client.
        if (WSAGETSELECTEVENT(lParam) == FD_READ && WSAGETSELECTERROR(lParam) == 0) receive();
        return 0;
    }
    return Window::handleMessage(message, wParam, lParam);
}
