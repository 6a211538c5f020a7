#pragma once
// Reads a scenario file into commands, checking every line first: a run starts only
// when the whole file is well formed.

#include "Command.h"
#include "DumpShape.h"

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

namespace sim::scenario {

// A malformed line: `what()` reads "FILE:LINE: expected ...".
class ScenarioError : public std::runtime_error {
public:
    ScenarioError(const SourceLocation& where, const std::string& message)
        : std::runtime_error(where.prefix() + message)
        , m_where(where)
    {
    }
    const SourceLocation& where() const { return m_where; }

private:
    SourceLocation m_where;
};

struct ParseOptions {
    // Where relative dump files go instead of the scenario's folder (the demo writes its
    // dumps into its output folder).
    std::filesystem::path dumpDirectory;
    // What the dumps hold and the settings' keys: with it, `expect` paths and `pref` /
    // `settings set` keys are checked as the file is read. Without it they are taken as
    // written.
    std::shared_ptr<const DumpShape> shape;
};

// The longest scenario line, in bytes: a longer one is refused before it is read whole.
inline constexpr std::size_t kLongestLine = 1024 * 1024;

// Every scenario command with its form and one line on what it does, in the order the
// language is usually read; `lumetrix-sim help scenario` prints it.
struct CommandHelp {
    const char* form;
    const char* what;
};
const std::vector<CommandHelp>& scenarioCommandHelp();

// Reads a scenario one line at a time, with the rules that span lines (one boot, the
// device chosen before it, SpringBoard's own commands only after it). It keeps nothing of
// the lines it has read, so a run that takes its commands as it goes holds one at a time
// (ScenarioFile).
class ScenarioReader {
public:
    // Files read by earlier lines, by path: a queue of a thousand tracks with the same
    // picture holds its bytes once.
    using FileBytes = std::map<std::filesystem::path, platform::SharedBytes>;

    // `fileName` is named in messages as given; `baseDirectory` resolves relative paths.
    ScenarioReader(std::string fileName, std::filesystem::path baseDirectory, ParseOptions = {});

    const std::string& file() const { return m_file; }

    // The command on line `number`, or nothing for a blank or comment line; lines come
    // in order from the first. A malformed line throws ScenarioError.
    std::optional<Command> readLine(const std::string& source, int number);

    // Back to the top of the file. The artwork already read is kept: a second reading
    // gives the bytes the first one checked.
    void restart() { m_booted = false; }

private:
    std::string m_file;
    std::filesystem::path m_baseDirectory;
    ParseOptions m_options;
    bool m_booted = false;
    FileBytes m_files;
};

// `file` is named in messages as given; relative paths inside the scenario (artwork,
// dump files) are resolved against its folder.
Scenario parseScenarioFile(const std::filesystem::path& file, const ParseOptions& = {});
// The same for text already read; `baseDirectory` resolves relative paths.
Scenario parseScenarioText(const std::string& text, const std::string& fileName, const std::filesystem::path& baseDirectory,
    const ParseOptions& = {});

} // namespace sim::scenario
