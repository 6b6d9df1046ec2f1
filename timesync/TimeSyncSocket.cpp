#include "timesync/TimeSyncSocket.h"

#include "platform/FailureTrace.h"
#include "timesync/HostLookup.h"
#include "timesync/ServerList.h"

#include <ws2tcpip.h>

#include <algorithm>
#include <cmath>

namespace {

const char kClassName[] = "SolvaneTimeSyncSocket";
constexpr UINT kSocketNotice = WM_APP + 1;    // WSAAsyncSelect's notices
constexpr UINT kLookupFinished = WM_APP + 2;  // a host name's lookup has ended
constexpr UINT_PTR kStepTimer = 1;

}  // namespace

TimeSyncSocket::TimeSyncSocket(ClockSetter& clock, PerformanceCounter& counter, TimeServerPorts ports, SyncSchedule schedule)
    : exchange_(clock, counter, schedule), ports_(ports) {}

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
    if (hwnd() != nullptr) KillTimer(hwnd(), kStepTimer);
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
        open(address);
        return;
    }
    lookup_ = StartHostLookup(hwnd(), kLookupFinished, ++lookups_, server);
}

void TimeSyncSocket::open(in_addr address) {
    server_ = address;
    socket_ = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    if (socket_ == INVALID_SOCKET) {
        TraceFailure("socket", DWORD(WSAGetLastError()));
        exchange_.fail(WSAGetLastError());
        return;
    }
    // The notices make the socket non-blocking.
    if (WSAAsyncSelect(socket_, hwnd(), kSocketNotice, FD_READ) != 0) {
        TraceFailure("WSAAsyncSelect", DWORD(WSAGetLastError()));
        exchange_.fail(WSAGetLastError());
        close();
        return;
    }
    step();
}

void TimeSyncSocket::step() {
    SyncRequest request;
    while (exchange_.nextRequest(request)) {
        sockaddr_in to = {};
        to.sin_family = AF_INET;
        to.sin_port = htons(request.protocol == SyncProtocol::Ntp ? ports_.ntp : ports_.timeProtocol);
        to.sin_addr = server_;
        if (sendto(socket_, reinterpret_cast<const char*>(request.bytes), int(request.size), 0,
                   reinterpret_cast<const sockaddr*>(&to), sizeof to) == SOCKET_ERROR) {
            TraceFailure("sendto", DWORD(WSAGetLastError()));
            exchange_.fail(WSAGetLastError());
        }
    }
    if (exchange_.done()) {
        close();
        return;
    }
    const double milliseconds = std::ceil(exchange_.secondsToNextStep() * 1000);
    SetTimer(hwnd(), kStepTimer, UINT(std::max(1.0, std::min(milliseconds, 60000.0))), nullptr);
}

// Only the server's two ports are heard; anything else (or a refusal of a datagram, which
// Windows reports as a reset) is dropped.
void TimeSyncSocket::receive() {
    unsigned char reply[512];  // room for an NTP answer with extension fields and a MAC
    sockaddr_in from = {};
    int fromSize = sizeof from;
    const int got = recvfrom(socket_, reinterpret_cast<char*>(reply), sizeof reply, 0,
                             reinterpret_cast<sockaddr*>(&from), &fromSize);
    if (got == SOCKET_ERROR || from.sin_addr.s_addr != server_.s_addr) return;
    const uint16_t port = ntohs(from.sin_port);
    if (port == ports_.ntp) {
        exchange_.onReply(SyncProtocol::Ntp, reply, std::size_t(got));
    } else if (port == ports_.timeProtocol) {
        exchange_.onReply(SyncProtocol::TimeProtocol, reply, std::size_t(got));
    } else {
        return;
    }
    // An answer moves the next request's best moment: the timer is set anew.
    step();
}

void TimeSyncSocket::onTimer(UINT_PTR id) {
    if (id == kStepTimer && socket_ != INVALID_SOCKET) step();
}

LRESULT TimeSyncSocket::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case kLookupFinished: {
        if (lookup_ == nullptr || wParam != lookup_->number || !lookup_->done) return 0;  // a lookup since forgotten
        const std::shared_ptr<HostLookup> lookup = std::move(lookup_);
        if (lookup->error != 0) {
            exchange_.fail(lookup->error);
        } else {
            open(lookup->address);
        }
        return 0;
    }
    case kSocketNotice:
        if (SOCKET(wParam) != socket_ || socket_ == INVALID_SOCKET) return 0;
        // Read even when the notice carries an error (a refused earlier datagram): reading is
        // what asks for the next notice. A refusal itself is silence to the client.
        if (WSAGETSELECTEVENT(lParam) == FD_READ) receive();
        return 0;
    }
    return Window::handleMessage(message, wParam, lParam);
}
