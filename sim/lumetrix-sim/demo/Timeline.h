#pragma once
// The demo's readable timeline: the run's transcript (events and the scenario's steps,
// in order) as one line per notable event, its time and what happened in words.

#include <nlohmann/json.hpp>

#include <optional>
#include <string>
#include <vector>

namespace sim {

// The words for one transcript entry; nothing for entries not worth a line (waits,
// dumps, marks, the notifications that every now-playing change posts).
std::optional<std::string> describeTimelineEntry(const nlohmann::json& entry);

// "  12.40 s  what happened", one per notable entry; a now-playing report that says
// nothing new is left out.
std::vector<std::string> timelineLines(const std::vector<nlohmann::json>& transcript);

} // namespace sim
