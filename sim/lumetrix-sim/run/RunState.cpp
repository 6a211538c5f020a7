#include "RunState.h"

namespace sim {

void RunState::recordFailure(const std::string& message)
{
    ++failures;
    // Enough to say what went wrong; a scenario that fails on every line of a day's run
    // does not carry them all from process to process.
    constexpr std::size_t kKeptMessages = 20;
    if (failureMessages.size() < kKeptMessages)
        failureMessages.push_back(message);
}

nlohmann::json RunState::toJSON() const
{
    return {
        { "nextCommand", nextCommand },
        { "now", now },
        { "runStart", runStart },
        { "application", application },
        { "failures", failures },
        { "checks", checks },
        { "failureMessages", failureMessages },
        { "mark", mark },
        { "nodeCounters", nodeCounters },
        { "device", device },
        { "dark", dark },
        { "openURLAfterBoot", openURLAfterBoot ? nlohmann::json(*openURLAfterBoot) : nlohmann::json(nullptr) },
    };
}

RunState RunState::fromJSON(const nlohmann::json& json)
{
    RunState state;
    state.nextCommand = json.at("nextCommand").get<std::size_t>();
    state.now = json.at("now").get<double>();
    state.runStart = json.at("runStart").get<double>();
    state.application = json.at("application");
    state.failures = json.at("failures").get<int>();
    state.checks = json.value("checks", 0);
    state.failureMessages = json.value("failureMessages", std::vector<std::string> {});
    state.mark = json.at("mark").get<std::uint64_t>();
    state.nodeCounters = json.at("nodeCounters");
    state.device = json.at("device").get<std::string>();
    state.dark = json.at("dark").get<bool>();
    if (auto url = json.at("openURLAfterBoot"); url.is_string())
        state.openURLAfterBoot = url.get<std::string>();
    return state;
}

} // namespace sim
