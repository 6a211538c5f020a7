#include "ScenarioFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <utility>

namespace sim::scenario {

namespace {

constexpr std::size_t kReadSize = 64 * 1024;

bool isStandardInput(const std::filesystem::path& path)
{
    return path == "-";
}

// Standard input copied into a file no one else can see (it goes when closed), so the
// run can read it again from the top as it does any scenario file.
int copyOfStandardInput()
{
    int fd = open("/tmp", O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd < 0)
        return -1;
    char buffer[kReadSize];
    for (;;) {
        ssize_t count = read(STDIN_FILENO, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            break;
        for (ssize_t written = 0; written < count;) {
            ssize_t now = write(fd, buffer + written, static_cast<std::size_t>(count - written));
            if (now < 0) {
                close(fd);
                return -1;
            }
            written += now;
        }
    }
    return fd;
}

} // namespace

ScenarioFile::ScenarioFile(const std::filesystem::path& path, const ParseOptions& options)
    : m_reader(isStandardInput(path) ? kStandardInputName : path.string(), isStandardInput(path) ? std::filesystem::path(".") : path.parent_path(), options)
{
    m_fd = isStandardInput(path) ? copyOfStandardInput() : open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (m_fd < 0)
        throw ScenarioError({ m_reader.file(), 0 }, "cannot read the scenario file");
    try {
        while (readCommand()) { }
    } catch (...) {
        close(m_fd);
        throw;
    }
    m_checked = true;
    rewind();
}

ScenarioFile::~ScenarioFile()
{
    close(m_fd);
}

void ScenarioFile::rewind()
{
    m_reader.restart();
    m_pending.clear();
    m_lineStart = 0;
    m_readOffset = 0;
    m_atEnd = false;
    m_lineNumber = 0;
    m_command.reset();
    m_commandsRead = 0;
}

std::optional<std::string> ScenarioFile::nextLine()
{
    std::size_t newline;
    // Each byte is looked at once, however long the line.
    std::size_t searchFrom = m_lineStart;
    while ((newline = m_pending.find('\n', searchFrom)) == std::string::npos && !m_atEnd) {
        // A line past the cap is refused as it is read: it is never held whole.
        if (m_pending.size() - m_lineStart > kLongestLine)
            throw ScenarioError({ m_reader.file(), m_lineNumber + 1 },
                "expected a line of at most " + std::to_string(kLongestLine) + " bytes, got a longer one");
        m_pending.erase(0, std::exchange(m_lineStart, 0));
        searchFrom = m_pending.size();
        std::size_t kept = m_pending.size();
        m_pending.resize(kept + kReadSize);
        // pread: SpringBoard processes forked from this one share the file's offset, and
        // each reads from where it is in the scenario.
        ssize_t count = pread(m_fd, m_pending.data() + kept, kReadSize, static_cast<off_t>(m_readOffset));
        m_pending.resize(kept + static_cast<std::size_t>(std::max<ssize_t>(count, 0)));
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            throw ScenarioError({ m_reader.file(), 0 }, "cannot read the scenario file");
        m_readOffset += static_cast<std::uint64_t>(count);
        m_atEnd = count == 0;
    }
    // The last line may have no newline; after it, or after a final newline, the file
    // is over.
    if (newline == std::string::npos && m_lineStart == m_pending.size())
        return std::nullopt;
    std::size_t end = newline == std::string::npos ? m_pending.size() : newline;
    std::string line = m_pending.substr(m_lineStart, end - m_lineStart);
    m_lineStart = newline == std::string::npos ? end : end + 1;
    return line;
}

bool ScenarioFile::readCommand()
{
    while (auto line = nextLine()) {
        std::optional<Command> command;
        try {
            command = m_reader.readLine(*line, ++m_lineNumber);
        } catch (const ScenarioError& error) {
            if (!m_checked)
                throw;
            // The line was well formed when the whole file was checked.
            std::string message = std::string(error.what()).substr(error.where().prefix().size());
            throw ScenarioError(error.where(), message + " (the file has changed since the run began)");
        }
        if (command) {
            m_command = std::move(command);
            ++m_commandsRead;
            return true;
        }
    }
    return false;
}

const Command* ScenarioFile::command(std::size_t index)
{
    if (index + 1 < m_commandsRead)
        rewind();
    while (m_commandsRead <= index) {
        if (!readCommand())
            return nullptr;
    }
    return &*m_command;
}

} // namespace sim::scenario
