#include "LogInWords.h"

#include "sim/lumetrix-sim/demo/Timeline.h"

#include <fstream>

using nlohmann::json;

namespace sim {

LogInWords::LogInWords(std::filesystem::path transcript)
    : m_transcript(std::move(transcript))
{
}

void LogInWords::restart(const std::string& first)
{
    m_entries.clear();
    m_dropped = 0;
    m_read = 0;
    m_partial.clear();
    m_lastNowPlaying.clear();
    add({ { "t", 0 }, { "text", first }, { "kind", "serve" } });
}

void LogInWords::add(json entry)
{
    m_entries.push_back(std::move(entry));
    if (m_entries.size() > kEntriesKept) {
        m_entries.pop_front();
        ++m_dropped;
    }
}

bool LogInWords::readUpTo(std::uint64_t offset)
{
    if (offset <= m_read)
        return false;
    std::ifstream in(m_transcript, std::ios::binary);
    if (!in)
        return false;
    in.seekg(static_cast<std::streamoff>(m_read));
    std::string text(offset - m_read, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));
    m_read += text.size();
    m_partial += text;
    bool added = false;
    std::size_t start = 0;
    for (std::size_t end; (end = m_partial.find('\n', start)) != std::string::npos; start = end + 1) {
        json entry = json::parse(m_partial.begin() + static_cast<std::ptrdiff_t>(start), m_partial.begin() + static_cast<std::ptrdiff_t>(end), nullptr, false);
        if (entry.is_discarded())
            continue;
        auto words = describeTimelineEntry(entry);
        if (!words)
            continue;
        std::string kind = entry.value("type", "");
        // Every queue append reports the same track again: once is enough, as in the demo.
        if (kind == "nowplaying") {
            if (*words == m_lastNowPlaying)
                continue;
            m_lastNowPlaying = *words;
        }
        add({ { "t", entry.value("t", 0.0) }, { "text", *words }, { "kind", kind } });
        added = true;
    }
    m_partial.erase(0, start);
    return added;
}

json LogInWords::since(std::size_t since) const
{
    json entries = json::array();
    std::size_t first = since > m_dropped ? since - m_dropped : 0;
    for (std::size_t i = first; i < m_entries.size(); ++i)
        entries.push_back(m_entries[i]);
    return { { "next", count() }, { "entries", std::move(entries) } };
}

} // namespace sim
