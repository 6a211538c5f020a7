#pragma once
// The device process as the interpreter's host, before SpringBoard runs: the
// now-playing application keeps playing here on a run loop of its own, so `wait` before
// `boot` still plays through track ends. Nothing here touches the platform's runtime:
// SpringBoard and the Settings app are forked from this process and must start clean.

#include "ScenarioHost.h"

#include "Foundation/RunLoop.h"
#include "MediaRemote/NowPlayingApplication.h"

#include <memory>

namespace platform {
class NowPlayingPlaybackTimer;
}

namespace sim {

class EventLog;
struct RunState;

class DeviceHost final : public ScenarioHost {
public:
    // Picks the application and the clock up from the run state.
    DeviceHost(const RunState&, EventLog&, platform::RunLoop::ClockMode);
    ~DeviceHost() override;

    platform::RunLoop& runLoop() override { return m_loop; }
    platform::NowPlayingApplication& nowPlaying() override { return m_application; }

    // Hands the application and the clock back to the run state.
    void save(RunState&) const;

private:
    platform::RunLoop m_loop;
    platform::NowPlayingApplication m_application;
    std::unique_ptr<platform::NowPlayingPlaybackTimer> m_playbackTimer;
};

// The application a run state holds (an empty one for a new run).
platform::NowPlayingApplication restoreApplication(const RunState&);

} // namespace sim
