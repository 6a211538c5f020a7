#pragma once
// Reads a scenario file into commands, checking every line first: a run starts only
// when the whole file is well formed.

#include "Command.h"

#include <filesystem>
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
};

// `file` is named in messages as given; relative paths inside the scenario (artwork,
// dump files) are resolved against its folder.
Scenario parseScenarioFile(const std::filesystem::path& file, const ParseOptions& = {});
// The same for text already read; `baseDirectory` resolves relative paths.
Scenario parseScenarioText(const std::string& text, const std::string& fileName, const std::filesystem::path& baseDirectory,
    const ParseOptions& = {});

} // namespace sim::scenario
