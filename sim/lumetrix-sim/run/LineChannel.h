#pragma once
// JSON messages between the simulator's processes, one a line over a pipe. Reads block:
// the processes take turns, so whoever reads is waiting for the other's answer.

#include <nlohmann/json.hpp>

#include <optional>
#include <string>

namespace sim {

class LineChannel {
public:
    LineChannel() = default;
    LineChannel(int readFd, int writeFd)
        : m_readFd(readFd)
        , m_writeFd(writeFd)
    {
    }

    int readFd() const { return m_readFd; }
    int writeFd() const { return m_writeFd; }

    void send(const nlohmann::json&) const;
    // The next message, or nothing once the other end has closed.
    std::optional<nlohmann::json> receive();
    // The same, waiting at most `seconds` of wall-clock time; `timedOut` says whether
    // nothing came because the time ran out.
    std::optional<nlohmann::json> receiveWithin(double seconds, bool& timedOut);

    // Closes both ends.
    void close();

private:
    int m_readFd = -1;
    int m_writeFd = -1;
    std::string m_pending;
};

} // namespace sim
