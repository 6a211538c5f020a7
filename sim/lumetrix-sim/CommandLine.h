#pragma once
// lumetrix-sim's command line: which command, with what, and the help text of each.

#include "run/RunOptions.h"
#include "serve/ServeOptions.h"

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace sim {

struct CommandLine {
    enum class Command {
        Help,
        Version,
        ScenarioHelp,
        Run,
        Demo,
        Devices,
        Serve
    };
    Command command = Command::Help;
    // `help` for a command: which one.
    std::optional<Command> helpFor;
    std::vector<std::string> files; // run
    RunOptions run;
    std::string demoOutput = "lumetrix-demo"; // demo
    ServeOptions serve; // serve
};

// A command line that cannot be used; the message says why.
class UsageError : public std::runtime_error {
public:
    UsageError(const std::string& message, CommandLine::Command command)
        : std::runtime_error(message)
        , m_command(command)
    {
    }
    CommandLine::Command command() const { return m_command; }

private:
    CommandLine::Command m_command;
};

CommandLine parseCommandLine(int argc, char** argv);
std::string usageText(CommandLine::Command);
// Every scenario command with one line each, from the parser's own table.
std::string scenarioHelpText();
// "lumetrix-sim 0.9.0"
std::string versionText();

} // namespace sim
