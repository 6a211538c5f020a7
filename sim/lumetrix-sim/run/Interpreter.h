#pragma once
// Runs scenario commands in the current process from where the run state says, until
// the scenario ends or the run has to move to another process (SpringBoard boots or
// restarts). Every command takes effect at the current instant; after each, the run loop
// runs what that made due at once. Only `wait` moves the clock.
//
// A failed expectation is reported on standard error as "FILE:LINE: expected ..., got
// ..." and counted; the run goes on.

#include "RunState.h"

#include "sim/lumetrix-sim/scenario/CommandSource.h"

#include <functional>
#include <optional>
#include <stdexcept>
#include <string>

namespace sim {

class DeviceRoot;
class EventLog;
class ScenarioHost;
class SettingsProcess;

struct RunServices {
    EventLog& log;
    SettingsProcess& settings;
    const DeviceRoot& root;
    // Told the index of each command before it runs (a SpringBoard process reports its
    // progress, so a crash can name the line).
    std::function<void(std::size_t)> beforeCommand = {};
    // Asked whenever the scenario has run out. A live session lets time run there until
    // the user does something, appends the line it parsed and answers true; false ends
    // the run, as the end of a file does.
    std::function<bool(ScenarioHost&, RunState&, RunServices&)> awaitCommands = {};
    // Pictures reduced to this width (render::makeThumbnail) go to keepThumbnail, with the
    // path the picture was written to, as JSON (render::thumbnailToJSON); 0: none.
    int thumbnailWidth = 0;
    // --log: also notes on standard error what the run lets through but may not be meant
    // (a setting stored with a value of another type).
    bool echoLogs = false;
    // --update-snapshots: a missing or different golden picture is written, not a failure.
    bool updateSnapshots = false;
    // The profile --device asked for: a `device` line that picks another says so.
    std::optional<std::string> commandLineDevice = {};
    std::function<void(const std::string& path, const nlohmann::json& thumbnail)> keepThumbnail = {};
};

// A line could not be carried out because a simulated process stopped or gave no
// answer; `what()` reads "FILE:LINE: WHO ...". The run ends there.
class RunStopped : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class Interpreter {
public:
    enum class Stop {
        End, // the scenario is over
        Boot, // SpringBoard starts: go on in a SpringBoard process
        Respring, // SpringBoard restarts: go on in a new one
    };

    Interpreter(scenario::CommandSource&, RunState&, RunServices&);
    Stop run(ScenarioHost&);

private:
    class Execution;

    scenario::CommandSource& m_commands;
    RunState& m_state;
    RunServices& m_services;
};

} // namespace sim
