#include "LineChannel.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace sim {

void LineChannel::send(const nlohmann::json& message) const
{
    std::string line = message.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
    std::size_t written = 0;
    while (written < line.size()) {
        ssize_t count = ::write(m_writeFd, line.data() + written, line.size() - written);
        if (count < 0) {
            if (errno == EINTR)
                continue;
            throw std::runtime_error(std::string("lost the connection to another simulator process: ") + std::strerror(errno));
        }
        written += static_cast<std::size_t>(count);
    }
}

std::optional<nlohmann::json> LineChannel::receive()
{
    for (;;) {
        if (auto end = m_pending.find('\n'); end != std::string::npos) {
            std::string line = m_pending.substr(0, end);
            m_pending.erase(0, end + 1);
            return nlohmann::json::parse(line);
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
