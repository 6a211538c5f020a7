#pragma once
// The device process of a live session: forked by the server before it starts any
// thread, it runs one phone after another (a change of device is a new phone) exactly as
// `lumetrix-sim run` runs a scenario, with the page's lines fed in by a LiveFeed. It
// ends when the server closes the request pipe.

#include "PhonePipes.h"

#include "sim/lumetrix-sim/run/RunOptions.h"
#include "sim/lumetrix-sim/scenario/Command.h"

#include <filesystem>
#include <optional>

namespace sim {

struct LivePhoneSetup {
    std::optional<scenario::Scenario> scenario;
    RunOptions run;
    std::filesystem::path outputFolder;
    double frameScale = 2;
    int requestFd = -1;
    int reportFd = -1;
    LiveControls* controls = nullptr;
};

// Requests: {"start": {"device": NAME|null}} starts a phone; lines and the recorder's
// requests that come while none runs are answered as refused or empty.
[[noreturn]] void runLivePhoneProcess(const LivePhoneSetup&);

// Where a phone's event log and transcript go in the output folder.
inline constexpr const char* kLiveEventsFile = "events.jsonl";
inline constexpr const char* kLiveTranscriptFile = "transcript.jsonl";

// Before a phone starts: an earlier phone's event log and transcript in `folder` (a
// restart, or an earlier server) are kept as events.N.jsonl and transcript.N.jsonl,
// with the first N free for both. The number given, or 0 when there was nothing to keep.
int keepEarlierPhoneFiles(const std::filesystem::path& folder);

} // namespace sim
