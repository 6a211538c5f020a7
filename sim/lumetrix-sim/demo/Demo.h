#pragma once
// `lumetrix-sim demo`: the bundled demo scenario and, after it, its close on a second
// phone (demo-second-phone.scenario beside it), run with one event log, transcript and
// folder of dumps and pictures, and told as a timeline.

#include "sim/lumetrix-sim/run/RunOptions.h"

#include <string>

namespace sim {

// The demo scenario: beside the installed executable (../share/lumetrix/scenarios), else
// where the source tree had it when this was built.
std::string demoScenarioPath();

// Runs the demo into `outputDirectory`, prints the timeline; returns the exit code.
int runDemo(const std::string& outputDirectory, RunOptions);

} // namespace sim
