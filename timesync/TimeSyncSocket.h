// A synchronisation over a Windows socket: one UDP socket that sends the exchange's requests to
// the server's NTP and Time Protocol ports and hears only those ports of the server. Its notices,
// its timer and the host name's lookup arrive as messages at a hidden window on the thread that
// made it, so that nothing there waits for the network.
#pragma once

#include "platform/Window.h"
#include "timesync/HostLookup.h"
#include "timesync/TimeSyncExchange.h"

#include <winsock2.h>

#include <memory>
#include <string>

// The server's ports; tests use others.
struct TimeServerPorts {
    uint16_t ntp = kNtpPort;
    uint16_t timeProtocol = kTimeProtocolPort;
};

class TimeSyncSocket : public Window {
public:
    TimeSyncSocket(ClockSetter& clock, PerformanceCounter& counter, TimeServerPorts ports = {}, SyncSchedule schedule = {});
    ~TimeSyncSocket() override;

    // Starts a synchronisation with `server` (a host name or dotted address, spaces around it
    // ignored); the outcome shows in exchange(). A name of blanks ends it at once: no server
    // has that name.
    void synchronize(const std::string& server);
    // Ends the synchronisation: the socket is closed, a lookup under way forgotten.
    void close();
    const TimeSyncExchange& exchange() const { return exchange_; }
    // See TimeSyncExchange::confirmCorrection.
    void confirmCorrection(bool confirmed) { exchange_.confirmCorrection(confirmed); }

protected:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void onTimer(UINT_PTR id) override;

private:
    bool ensureWindow();
    void open(in_addr address);
    // Sends what is due and sets the timer for the next step; closes the socket once done.
    void step();
    void receive();

    TimeSyncExchange exchange_;
    TimeServerPorts ports_;
    in_addr server_ = {};
    SOCKET socket_ = INVALID_SOCKET;
    std::shared_ptr<HostLookup> lookup_;  // the host name's lookup under way
    WPARAM lookups_ = 0;
};
