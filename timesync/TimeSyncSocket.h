// The Time Protocol exchange over a Windows socket: a UDP socket connected to the server,
// whose notices (and the host name's lookup) arrive as messages at a hidden window on the
// user-interface thread, so that nothing there waits for the network.
#pragma once

#include "platform/Window.h"
#include "timesync/TimeSyncExchange.h"

#include <winsock2.h>

#include <memory>
#include <string>

class TimeSyncSocket : public Window {
public:
    TimeSyncSocket(ClockSetter& clock, PerformanceCounter& counter, uint16_t port = kTimeProtocolPort);
    ~TimeSyncSocket() override;

    // Starts a synchronisation with `server` (a host name or dotted address, spaces around it
    // ignored); the outcome shows in exchange(). An empty name does nothing. A request that
    // brings no answer within a quarter of a second is sent again.
    void synchronize(const std::string& server);
    // Ends the synchronisation: the socket is closed, a lookup under way forgotten.
    void close();
    const TimeSyncExchange& exchange() const { return exchange_; }

protected:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    struct HostLookup;
    bool ensureWindow();
    void lookUp(const std::string& name);
    void connectAndSend(in_addr address);
    void sendRequest(bool again);
    void receive();

    TimeSyncExchange exchange_;
    uint16_t port_;
    SOCKET socket_ = INVALID_SOCKET;
    // The host name's lookup under way, run on a thread of its own that shares it; its answer
    // comes as a message carrying its number.
    std::shared_ptr<HostLookup> lookup_;
    WPARAM lookups_ = 0;
};
