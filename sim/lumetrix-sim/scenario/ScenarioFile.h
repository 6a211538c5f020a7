#pragma once
// A scenario file read as the run goes. Opening it checks every line, so a malformed one
// still stops everything before anything runs; the run then reads each command again
// when it is next, and holds only that one. A day of use is ten thousand lines, and every
// SpringBoard process forked during the run would otherwise carry all of them.
//
// The file stays open from the check to the end of the run, so a file replaced meanwhile
// (an editor saving a new copy) is not what runs; one changed in place is read as it now
// is, and a line that no longer parses throws ScenarioError when the run reaches it.

#include "CommandSource.h"
#include "ScenarioParser.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace sim::scenario {

// How messages name a scenario read from standard input (`-`).
inline constexpr const char* kStandardInputName = "<stdin>";

class ScenarioFile final : public CommandSource {
public:
    // Opens `path` (named in messages as given; `-` is standard input, read whole first,
    // with paths in it relative to the current folder) and checks every line:
    // ScenarioError for the first malformed one, or for a file that cannot be read.
    explicit ScenarioFile(const std::filesystem::path&, const ParseOptions& = {});
    ~ScenarioFile() override;
    ScenarioFile(const ScenarioFile&) = delete;
    ScenarioFile& operator=(const ScenarioFile&) = delete;

    const std::string& file() const override { return m_reader.file(); }
    // Reads on from the last command given; an earlier one reads the file again from
    // the top.
    const Command* command(std::size_t index) override;

private:
    void rewind();
    // The next line without its newline, or nothing at the end of the file.
    std::optional<std::string> nextLine();
    // Reads the next command into m_command; false at the end of the file.
    bool readCommand();

    int m_fd = -1;
    ScenarioReader m_reader;
    // Every line has been read once and was well formed.
    bool m_checked = false;
    // What has been read of the file, where its next line starts, and where the
    // reading ends in the file.
    std::string m_pending;
    std::size_t m_lineStart = 0;
    std::uint64_t m_readOffset = 0;
    bool m_atEnd = false;
    int m_lineNumber = 0;
    // The last command read, and how many have been read.
    std::optional<Command> m_command;
    std::size_t m_commandsRead = 0;
};

} // namespace sim::scenario
