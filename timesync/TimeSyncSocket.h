// The Time Protocol exchange over a Windows socket: a UDP socket connected to the server,
// whose notices (and the host name's lookup) arrive as messages at a hidden window on the
// user-interface thread, so that nothing there waits for the network.
#pragma once

#include "platform/Window.h"
#include "timesync/TimeSyncExchange.h"

#include <winsock2.h>

#include <string>

class TimeSyncSocket : public Window {
public:
    TimeSyncSocket(ClockSetter& clock, PerformanceCounter& counter, uint16_t port = kTimeProtocolPort);
    ~TimeSyncSocket() override;

    // Starts a synchronisation with `server` (a host name or dotted address); the outcome
    // shows in exchange(). An empty name does nothing.
    void synchronize(const std::string& server);
    // Ends the synchronisation: the socket is closed, a lookup under way forgotten.
    void close();
    const TimeSyncExchange& exchange() const { return exchange_; }

protected:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool ensureWindow();
    void connectAndSend(in_addr address);
    void sendRequest();
    void receive();

    TimeSyncExchange exchange_;
    uint16_t port_;
    SOCKET socket_ = INVALID_SOCKET;
    HANDLE lookup_ = nullptr;
    char hostEntry_[MAXGETHOSTSTRUCT] = {};
};
