#pragma once
// Where a run takes its commands from, by their place in the scenario (0 for the first
// command, blank and comment lines not counted): a scenario held whole in memory, or a
// file read as the run goes (ScenarioFile).

#include "Command.h"

#include <cstddef>
#include <string>

namespace sim::scenario {

class CommandSource {
public:
    virtual ~CommandSource() = default;

    // The scenario's file as the user named it, for messages about the file as a whole.
    virtual const std::string& file() const = 0;

    // The command at `index`, or null past the last one. The command stays valid until
    // the next call. A source read from a file that no longer reads as it did when it
    // was checked throws ScenarioError.
    virtual const Command* command(std::size_t index) = 0;
};

// A scenario in memory. Commands appended to it while it runs (a live session's lines)
// are found like the others.
class ScenarioCommands final : public CommandSource {
public:
    explicit ScenarioCommands(const Scenario& scenario)
        : m_scenario(scenario)
    {
    }

    const std::string& file() const override { return m_scenario.file; }
    const Command* command(std::size_t index) override
    {
        return index < m_scenario.commands.size() ? &m_scenario.commands[index] : nullptr;
    }

private:
    const Scenario& m_scenario;
};

} // namespace sim::scenario
