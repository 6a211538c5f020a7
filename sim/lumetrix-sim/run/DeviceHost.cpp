#include "DeviceHost.h"

#include "EventLog.h"
#include "RunState.h"

#include "MediaRemote/NowPlayingPlaybackTimer.h"

namespace sim {

platform::NowPlayingApplication restoreApplication(const RunState& state)
{
    if (state.application.is_null())
        return {};
    static const std::vector<platform::NowPlayingTrack> noTracks;
    auto application = platform::NowPlayingApplication::fromJSON(state.application, state.tracks ? *state.tracks : noTracks);
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
    // The whole queue stays here, in memory; the JSON carries only the state.
    state.tracks = std::make_shared<const std::vector<platform::NowPlayingTrack>>(m_application.queue());
    state.application = m_application.toJSON(state.tracks->size());
    state.now = m_loop.now();
}

} // namespace sim
