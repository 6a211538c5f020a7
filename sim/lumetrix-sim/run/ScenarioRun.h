#pragma once
// A scenario run from start to end: a device root with the deliverables installed, the
// Settings app in its own process, and the interpreter moving from the device process to
// a fresh SpringBoard process at `boot` and at every respring. Only one process runs at
// a time, so they share one clock without any lockstep.

#include "RunOptions.h"

#include "sim/lumetrix-sim/scenario/CommandSource.h"

#include <functional>
#include <string>
#include <vector>

namespace sim {

class EventLog;
class ScenarioHost;
struct RunServices;
struct RunState;

// Exit codes, as `lumetrix-sim run` returns them.
enum ExitCode : int {
    ExitSuccess = 0, // every expectation held
    ExitFailure = 1, // an expectation failed, or a simulated process died
    ExitUsage = 2, // bad command line or malformed scenario (nothing ran)
};

// Checks every file first (any malformed line stops everything with its message), then
// runs each as its own run, in order, into one event log. Each file is read again as it
// runs, a command at a time (scenario::ScenarioFile), so no process of the run holds the
// whole scenario.
int runScenarioFiles(const std::vector<std::string>& files, const RunOptions&);

// Runs one scenario; returns how many expectations failed. `awaitCommands`, when given,
// is asked for more lines whenever the scenario runs out (RunServices::awaitCommands).
int runScenario(scenario::CommandSource&, const RunOptions&, EventLog&,
    const std::function<bool(ScenarioHost&, RunState&, RunServices&)>& awaitCommands = {});
// The same for a scenario held in memory.
int runScenario(const scenario::Scenario&, const RunOptions&, EventLog&,
    const std::function<bool(ScenarioHost&, RunState&, RunServices&)>& awaitCommands = {});

} // namespace sim
