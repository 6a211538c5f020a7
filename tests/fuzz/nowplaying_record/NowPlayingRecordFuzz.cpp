// The now-playing application as the simulator carries it between processes: one JSON
// line over a pipe (the run state a SpringBoard process hands back), read back into the
// application that keeps playing in the next process. A line that is not a run state, or
// holds no application, is refused; one that is accepted must play on without fault and
// carry over again unchanged.

#include "sim/lumetrix-sim/run/DeviceHost.h"
#include "sim/lumetrix-sim/run/RunState.h"

#include "MediaRemote/NowPlayingApplication.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    auto line = nlohmann::json::parse(data, data + size, nullptr, false);
    if (line.is_discarded())
        return 0;
    sim::RunState state;
    try {
        state = sim::RunState::fromJSON(line.contains("state") ? line["state"] : line);
    } catch (const nlohmann::json::exception&) {
        return 0; // not a run state: the device process reports it and stops the run
    }
    if (state.application.is_null() || !platform::NowPlayingApplication::fromJSON(state.application))
        return 0;
    platform::NowPlayingApplication application = sim::restoreApplication(state);

    // Carried over once more, it is the same application.
    auto again = platform::NowPlayingApplication::fromJSON(application.toJSON());
    if (!again || again->toJSON() != application.toJSON()) {
        std::fprintf(stderr, "the application changed on its way between processes\n");
        std::abort();
    }

    // Then it plays on, as the next process would drive it.
    double now = std::isfinite(state.now) ? state.now : 0;
    application.addListener([&](const platform::NowPlayingChange&) { (void)application.nowPlayingEvent(now); });
    (void)application.record();
    application.advanceTo(now);
    application.play(now);
    if (auto end = application.trackEndTime(); end && std::isfinite(*end))
        application.advanceTo(*end);
    application.next(now + 1);
    application.seek(10, now + 2);
    application.handleCommand(kMRSkipBackward, 15, now + 3);
    application.previous(now + 4);
    application.advanceTo(now + 86400);
    (void)application.nowPlayingEvent(now + 86400);
    (void)application.record();
    (void)application.position(now + 86400);
    return 0;
}
