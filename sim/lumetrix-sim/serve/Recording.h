#pragma once
// What ran on the live phone, as a scenario: its start-up lines, then every line the page
// sent with a `wait` for the virtual time before it. The recorder marks where the user
// pressed Record and Stop; the download holds everything up to Stop (the lines before
// the recording are what bring a replay to where it began), so `lumetrix-sim run`
// reaches the same state.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace sim {

class Recording {
public:
    // A new phone: the transcript starts again with its start-up lines, whose relative
    // artwork files lie in `startupFolder`.
    void startPhone(const std::vector<std::string>& startupLines, const std::filesystem::path& startupFolder);
    // A line that ran, with relative artwork in `folder`; its place in the transcript.
    std::size_t addLine(const std::string& text, const std::filesystem::path& folder);
    // The line at `index` did nothing a replay could repeat (the pane refused its
    // value): it stays in the file as a comment saying so, so the replay passes.
    void setAside(std::size_t index, const std::string& why);

    void startRecording();
    void stopRecording();
    bool isRecording() const { return m_from && !m_to; }
    std::size_t lineCount() const { return m_lines.size(); }

    // The scenario to download: up to Stop (or up to now while recording, or everything
    // when nothing was recorded).
    std::string scenarioText() const;

    // A track line whose artwork is relative, with the artwork's absolute path in its
    // place, so the file replays from anywhere; other lines as they are.
    static std::string withAbsoluteArtwork(const std::string& line, const std::filesystem::path& folder);

private:
    struct Line {
        std::string text;
        std::filesystem::path folder;
    };
    std::vector<Line> m_lines;
    std::optional<std::size_t> m_from;
    std::optional<std::size_t> m_to;
};

// A scenario string: quoted, with backslashes and quotes escaped.
std::string quoteScenarioString(const std::string&);

} // namespace sim
