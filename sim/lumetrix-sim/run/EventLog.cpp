#include "EventLog.h"

#include "Platform/WriteAll.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace sim {

EventLog::EventLog(const std::string& path)
    : m_path(path)
{
    m_fd = open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_APPEND, 0644);
    if (m_fd < 0)
        throw std::runtime_error("cannot open the event log " + path + ": " + std::strerror(errno));
}

std::unique_ptr<EventLog> EventLog::unnamed()
{
    std::unique_ptr<EventLog> log(new EventLog);
    std::string folder = "/tmp";
    if (const char* temporary = std::getenv("TMPDIR"); temporary && *temporary)
        folder = temporary;
    log->m_fd = open(folder.c_str(), O_TMPFILE | O_RDWR | O_APPEND, 0600);
    if (log->m_fd < 0) {
        // A file system without unnamed files: a named one, unlinked while open.
        std::string pattern = folder + "/lumetrix-events-XXXXXX";
        log->m_fd = mkstemp(pattern.data());
        if (log->m_fd >= 0) {
            unlink(pattern.c_str());
            fcntl(log->m_fd, F_SETFL, O_APPEND);
        }
    }
    if (log->m_fd < 0)
        throw std::runtime_error("cannot make a temporary event log in " + folder + ": " + std::strerror(errno));
    return log;
}

EventLog::~EventLog()
{
    if (m_fd >= 0)
        close(m_fd);
    if (m_transcriptFd >= 0)
        close(m_transcriptFd);
}

double EventLog::runSeconds(double absoluteTime, double runStart)
{
    return std::round((absoluteTime - runStart) * 1e6) / 1e6;
}

void EventLog::writeLine(int fd, const std::string& line)
{
    if (!platform::writeAll(fd, line))
        throw std::runtime_error(std::string("cannot write the event log: ") + std::strerror(errno));
}

void EventLog::write(nlohmann::json event, double runSeconds)
{
    event["t"] = runSeconds;
    if (!m_file.empty())
        event["file"] = m_file;
    // Stray bytes in a logged string must not stop the run: they are replaced.
    std::string line = event.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
    writeLine(m_fd, line);
    if (m_transcriptFd >= 0)
        writeLine(m_transcriptFd, line);
}

std::uint64_t EventLog::endOffset() const
{
    struct stat status {};
    if (fstat(m_fd, &status) != 0)
        return 0;
    return static_cast<std::uint64_t>(status.st_size);
}

std::vector<nlohmann::json> EventLog::eventsSince(std::uint64_t offset) const
{
    std::vector<nlohmann::json> events;
    // The log's own descriptor: it reads what every process appended, named or not.
    int fd = m_fd;
    std::string text;
    char buffer[65536];
    off_t position = static_cast<off_t>(offset);
    for (;;) {
        ssize_t count = pread(fd, buffer, sizeof(buffer), position);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            break;
        text.append(buffer, static_cast<std::size_t>(count));
        position += count;
    }
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        events.push_back(nlohmann::json::parse(text.begin() + static_cast<std::ptrdiff_t>(start), text.begin() + static_cast<std::ptrdiff_t>(end)));
    return events;
}

void EventLog::openTranscript(const std::string& path)
{
    m_transcriptFd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_APPEND | O_CLOEXEC, 0644);
    if (m_transcriptFd < 0)
        throw std::runtime_error("cannot open " + path + ": " + std::strerror(errno));
}

void EventLog::writeStep(int line, const std::string& text, double runSeconds)
{
    if (m_transcriptFd < 0)
        return;
    writeLine(m_transcriptFd, nlohmann::json { { "t", runSeconds }, { "type", "step" }, { "line", line }, { "text", text } }.dump() + "\n");
}

} // namespace sim
