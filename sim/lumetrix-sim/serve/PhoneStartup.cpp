#include "PhoneStartup.h"

#include "Recording.h"

#include "sim/lumetrix-sim/scenario/ScenarioParser.h"

#include <algorithm>

namespace sim {

scenario::Scenario phoneStartup(const std::optional<scenario::Scenario>& userScenario, const std::optional<std::string>& device)
{
    scenario::Scenario startup = userScenario.value_or(scenario::Scenario { "serve", {} });
    auto& commands = startup.commands;
    auto boot = std::find_if(commands.begin(), commands.end(),
        [](const scenario::Command& command) { return std::holds_alternative<scenario::BootCommand>(command.body); });
    if (boot == commands.end())
        boot = commands.insert(commands.end(), scenario::parseScenarioText("boot", "serve", ".").commands.front());
    if (device) {
        auto line = scenario::parseScenarioText("device " + quoteScenarioString(*device), "serve", ".").commands.front();
        commands.insert(boot, std::move(line));
    }
    return startup;
}

std::vector<std::string> startupLines(const scenario::Scenario& startup)
{
    std::vector<std::string> lines;
    for (auto& command : startup.commands)
        lines.push_back(command.text);
    return lines;
}

} // namespace sim
