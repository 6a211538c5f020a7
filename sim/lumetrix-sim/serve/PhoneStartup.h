#pragma once
// The lines a live phone starts with: the user's scenario, a `device` line just before
// `boot` when a device was chosen (so the choice wins over the scenario's own), and
// `boot` at the end when the scenario does not boot the phone itself.

#include "sim/lumetrix-sim/scenario/Command.h"

#include <optional>
#include <string>
#include <vector>

namespace sim {

scenario::Scenario phoneStartup(const std::optional<scenario::Scenario>& userScenario, const std::optional<std::string>& device);

// The lines as written, for the recording.
std::vector<std::string> startupLines(const scenario::Scenario&);

} // namespace sim
