#include "PrivateBus.h"

namespace musictest {

std::unique_ptr<PrivateBus> PrivateBus::start()
{
    auto daemon = findProgram("dbus-daemon");
    if (!daemon)
        return nullptr;
    auto bus = std::make_unique<PrivateBus>();
    bus->m_daemon = std::make_unique<ChildProcess>(std::vector<std::string> { *daemon, "--session", "--nofork", "--nopidfile", "--print-address=1" },
        std::vector<std::string> {}, true);
    auto address = bus->m_daemon->readLine(5);
    if (!address || address->empty())
        return nullptr;
    bus->m_address = *address;
    return bus;
}

} // namespace musictest
