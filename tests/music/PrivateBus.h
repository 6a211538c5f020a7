#pragma once
// A session bus of the test's own (dbus-daemon --session), so no desktop's players or
// settings take part, torn down with the object.

#include "ChildProcess.h"

#include <memory>
#include <string>

namespace musictest {

class PrivateBus {
public:
    // Nothing when dbus-daemon is missing or does not start.
    static std::unique_ptr<PrivateBus> start();

    const std::string& address() const { return m_address; }
    // "DBUS_SESSION_BUS_ADDRESS=..." for a child's environment.
    std::string environment() const { return "DBUS_SESSION_BUS_ADDRESS=" + m_address; }
    // Ends the daemon now (its clients see the bus go).
    void stop() { m_daemon->kill(); }

private:
    std::unique_ptr<ChildProcess> m_daemon;
    std::string m_address;
};

} // namespace musictest
