// What this run of the program has asked of each time server, so that no server is asked more
// often than its spacing allows (a synchronisation that follows another waits for its turn) and
// a server that refused with a Kiss-o'-Death is not asked again. Servers are known by their
// address (the dialog looks names up), written as given, blanks and case aside.
#pragma once

#include <map>
#include <string>

class ServerCourtesy {
public:
    // `spacing`: seconds at least between two contacts; times are seconds of a steady clock.
    explicit ServerCourtesy(double spacing) : spacing_(spacing) {}

    // Seconds to wait from `now` before `server` may be asked again.
    double waitBefore(const std::string& server, double now) const;
    // `server` was asked, or answered, at `now`.
    void contacted(const std::string& server, double now);
    // `server` refused with Kiss-o'-Death code `code`; it is not asked again.
    void refused(const std::string& server, const std::string& code);
    // Whether `server` has refused, and its code.
    bool hasRefused(const std::string& server, std::string& code) const;

private:
    static std::string key(const std::string& server);

    double spacing_;
    std::map<std::string, double> lastContact_;
    std::map<std::string, std::string> refusals_;
};
