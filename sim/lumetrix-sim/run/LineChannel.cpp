#include "LineChannel.h"

#include "Platform/WriteAll.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace sim {

void LineChannel::send(const nlohmann::json& message) const
{
    std::string line = message.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
    if (!platform::writeAll(m_writeFd, line))
        throw std::runtime_error(std::string("lost the connection to another simulator process: ") + std::strerror(errno));
}

std::optional<nlohmann::json> LineChannel::receive()
{
    bool timedOut = false;
    return receiveWithin(-1, timedOut);
}

std::optional<nlohmann::json> LineChannel::receiveWithin(double seconds, bool& timedOut)
{
    timedOut = false;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(std::max(seconds, 0.0));
    for (;;) {
        if (auto end = m_pending.find('\n'); end != std::string::npos) {
            std::string line = m_pending.substr(0, end);
            m_pending.erase(0, end + 1);
            return nlohmann::json::parse(line);
        }
        if (seconds >= 0) {
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
            pollfd readable { m_readFd, POLLIN, 0 };
            int ready = left > 0 ? ::poll(&readable, 1, static_cast<int>(std::min<long long>(left, 1 << 30))) : 0;
            if (ready < 0 && errno == EINTR)
                continue;
            if (ready == 0) {
                timedOut = true;
                return std::nullopt;
            }
        }
        char buffer[65536];
        ssize_t count = ::read(m_readFd, buffer, sizeof(buffer));
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return std::nullopt;
        m_pending.append(buffer, static_cast<std::size_t>(count));
    }
}

void LineChannel::close()
{
    if (m_readFd >= 0)
        ::close(m_readFd);
    if (m_writeFd >= 0 && m_writeFd != m_readFd)
        ::close(m_writeFd);
    m_readFd = m_writeFd = -1;
}

} // namespace sim
