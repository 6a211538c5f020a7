#include "RequestGuard.h"

#include <arpa/inet.h>

#include <algorithm>
#include <cctype>

namespace sim {

namespace {

std::string lowercase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool isAddressLiteral(const std::string& host)
{
    unsigned char buffer[16];
    std::string bare = host;
    if (bare.size() > 2 && bare.front() == '[' && bare.back() == ']')
        bare = bare.substr(1, bare.size() - 2);
    return inet_pton(AF_INET, bare.c_str(), buffer) == 1 || inet_pton(AF_INET6, bare.c_str(), buffer) == 1;
}

bool isWildcard(const std::string& host)
{
    return host == "0.0.0.0" || host == "::" || host == "[::]";
}

} // namespace

RequestGuard::RequestGuard(std::string listenHost, int port)
    : m_listenHost(lowercase(std::move(listenHost)))
    , m_port(port)
{
}

bool RequestGuard::isOwnHost(const std::string& hostHeader) const
{
    std::string value = lowercase(hostHeader);
    std::size_t colon = value.rfind(':');
    // A bracketed IPv6 address has colons of its own; the port follows the bracket.
    if (colon == std::string::npos || (value.find(']') != std::string::npos && colon < value.find(']')))
        return false;
    std::string host = value.substr(0, colon);
    std::string port = value.substr(colon + 1);
    if (port != std::to_string(m_port))
        return false;
    std::string listen = m_listenHost.find(':') != std::string::npos && m_listenHost.front() != '[' ? "[" + m_listenHost + "]" : m_listenHost;
    if (host == listen || host == "localhost" || host == "127.0.0.1" || host == "[::1]")
        return true;
    // Listening on every address: any address literal names this machine; a DNS name
    // could be an attacker's pointed here, so only literals are taken.
    return isWildcard(m_listenHost) && isAddressLiteral(host);
}

std::optional<std::string> RequestGuard::refusal(const std::string& hostHeader, const std::string& origin, const std::string& fetchSite) const
{
    if (!isOwnHost(hostHeader))
        return "this server answers only to its own address (Host " + (hostHeader.empty() ? std::string("missing") : hostHeader) + ")";
    if (!origin.empty()) {
        std::string value = lowercase(origin);
        if (value.rfind("http://", 0) != 0 || !isOwnHost(value.substr(7)))
            return "requests from another site's page are refused (Origin " + origin + ")";
    }
    if (lowercase(fetchSite) == "cross-site")
        return "requests from another site's page are refused";
    return std::nullopt;
}

} // namespace sim
