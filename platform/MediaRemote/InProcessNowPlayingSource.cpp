#include "InProcessNowPlayingSource.h"

#include "Foundation/RunLoop.h"

namespace platform {

InProcessNowPlayingSource::InProcessNowPlayingSource(NowPlayingApplication& application)
    : m_application(application)
{
    m_listener = m_application.addListener([this](const NowPlayingChange& change) { announceChange(change); });
}

InProcessNowPlayingSource::~InProcessNowPlayingSource()
{
    m_application.removeListener(m_listener);
}

std::optional<NowPlayingRecord> InProcessNowPlayingSource::record(double now)
{
    m_application.advanceTo(now);
    return m_application.record();
}

void InProcessNowPlayingSource::advanceTo(double now)
{
    m_application.advanceTo(now);
}

bool InProcessNowPlayingSource::sendCommand(MRMediaRemoteCommand command, std::optional<double> skipInterval)
{
    RunLoop* loop = RunLoop::main();
    if (!loop)
        return false;
    std::weak_ptr<bool> alive = m_alive;
    loop->schedule(loop->now(), [this, alive, command, skipInterval] {
        if (alive.expired())
            return;
        m_application.handleCommand(command, skipInterval, RunLoop::main()->now());
    });
    return true;
}

} // namespace platform
