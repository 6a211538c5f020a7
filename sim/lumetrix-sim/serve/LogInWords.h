#pragma once
// The live phone's event log as the page shows it: the transcript file (events and the
// lines that ran) read on from where it was last read, each entry in the demo
// timeline's words, the newest few thousand kept.

#include <nlohmann/json.hpp>

#include <cstdint>
#include <deque>
#include <filesystem>
#include <string>

namespace sim {

class LogInWords {
public:
    explicit LogInWords(std::filesystem::path transcript);

    // A new phone: its transcript starts again; `first` is the first entry.
    void restart(const std::string& first);
    // Reads the transcript up to `offset`; whether entries were added. A line not yet
    // whole is kept for the next read.
    bool readUpTo(std::uint64_t offset);
    // {"next", "entries": [{"t", "text", "kind"}]} from entry `since` on.
    nlohmann::json since(std::size_t since) const;
    std::size_t count() const { return m_dropped + m_entries.size(); }

    static constexpr std::size_t kEntriesKept = 2000;

private:
    void add(nlohmann::json entry);

    std::filesystem::path m_transcript;
    std::deque<nlohmann::json> m_entries;
    std::size_t m_dropped = 0;
    std::uint64_t m_read = 0;
    std::string m_partial;
    std::string m_lastNowPlaying;
};

} // namespace sim
