#pragma once
// Who may talk to the live phone. A page on another site can make the browser send
// requests here, and a name it controls can be made to resolve to this machine, so a
// request counts only when its Host header names this server and, when the browser says
// where it comes from (Origin, Sec-Fetch-Site), it comes from this server's own page.

#include <optional>
#include <string>

namespace sim {

class RequestGuard {
public:
    // The address the server listens on (as given to --host) and its port.
    RequestGuard(std::string listenHost, int port);

    // Why the request is refused; nothing when it may go on. Empty strings stand for
    // headers the request does not carry.
    std::optional<std::string> refusal(const std::string& hostHeader, const std::string& origin, const std::string& fetchSite) const;

    // Whether "HOST:PORT" names this server.
    bool isOwnHost(const std::string& hostHeader) const;

private:
    std::string m_listenHost;
    int m_port;
};

} // namespace sim
