#include "DeviceHost.h"

#include "EventLog.h"
#include "RunState.h"

#include "MediaRemote/NowPlayingPlaybackTimer.h"

namespace sim {

platform::NowPlayingApplication restoreApplication(const RunState& state)
{
    if (state.application.is_null())
        return {};
    auto application = platform::NowPlayingApplication::fromJSON(state.application);
    return application ? std::move(*application) : platform::NowPlayingApplication {};
}

DeviceHost::DeviceHost(const RunState& state, EventLog& log, platform::RunLoop::ClockMode clock)
    : m_loop(clock, state.now)
    , m_application(restoreApplication(state))
{
    m_playbackTimer = std::make_unique<platform::NowPlayingPlaybackTimer>(m_application);
    double runStart = state.runStart;
    // The application's owner reports each of its changes.
    m_application.addListener([this, &log, runStart](const platform::NowPlayingChange&) {
        log.write(m_application.nowPlayingEvent(m_loop.now()), EventLog::runSeconds(m_loop.now(), runStart));
    });
}

DeviceHost::~DeviceHost()
{
    // The timer's task lives on the loop: it goes first.
    m_playbackTimer.reset();
}

void DeviceHost::save(RunState& state) const
{
    state.application = m_application.toJSON();
    state.now = m_loop.now();
}

} // namespace sim
