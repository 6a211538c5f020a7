#pragma once
// What the scenario interpreter carries from one process to the next: where it is in
// the scenario, the clock, the now-playing application (another app: it outlives any
// SpringBoard), the expectations that failed, and what makes dumps and event windows
// continuous across SpringBoard restarts.

#include "MediaRemote/NowPlayingTrack.h"

#include <nlohmann/json.hpp>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace sim {

struct RunState {
    std::size_t nextCommand = 0;
    // Absolute time now, and when the run began.
    double now = 0;
    double runStart = 0;
    // The now-playing application (NowPlayingApplication::toJSON) without the tracks
    // held in `tracks`: those are the queue as the device process last had it, which a
    // SpringBoard forked from there finds in its own memory, so only the state and the
    // tracks appended since cross a pipe (a day's queue is thousands of tracks).
    nlohmann::json application;
    // Not part of the JSON: it never leaves the device process's memory.
    std::shared_ptr<const std::vector<platform::NowPlayingTrack>> tracks;
    int failures = 0;
    // The checks run (expect, expect-events, expect-snapshot), and the first messages of
    // the failures, for the run's summary and its JUnit report.
    int checks = 0;
    std::vector<std::string> failureMessages;
    // Counts a failure and keeps its message (the first few of them).
    void recordFailure(const std::string& message);
    // Where the event window of expect-events starts, as an offset in the event log.
    std::uint64_t mark = 0;
    // Node id numbering (NodeIds::counters).
    nlohmann::json nodeCounters;
    // The device profile's name and the appearance.
    std::string device;
    bool dark = false;
    // A URL the Settings app asked to open once SpringBoard is back from a respring.
    std::optional<std::string> openURLAfterBoot;

    nlohmann::json toJSON() const;
    static RunState fromJSON(const nlohmann::json&);
};

} // namespace sim
