#include "NowPlayingPlaybackTimer.h"

#include <utility>

namespace platform {

NowPlayingPlaybackTimer::NowPlayingPlaybackTimer(NowPlayingApplication& application)
    : m_application(application)
{
    m_listener = m_application.addListener([this](const NowPlayingChange&) { reschedule(); });
    reschedule();
}

NowPlayingPlaybackTimer::~NowPlayingPlaybackTimer()
{
    m_application.removeListener(m_listener);
    cancel();
}

void NowPlayingPlaybackTimer::cancel()
{
    // Task ids are unique for the life of the process, so cancelling on a newer loop
    // (or after the old loop dropped the task) touches nothing else.
    if (auto task = std::exchange(m_task, std::nullopt); task && RunLoop::main())
        RunLoop::main()->cancel(*task);
}

void NowPlayingPlaybackTimer::reschedule()
{
    cancel();
    RunLoop* loop = RunLoop::main();
    auto end = m_application.trackEndTime();
    if (!loop || !end)
        return;
    // Cancelled by the destructor, so `this` is alive whenever the task runs.
    m_task = loop->schedule(*end, [this] {
        m_task.reset();
        m_application.advanceTo(RunLoop::main()->now());
        // advanceTo reschedules through the listener when it changes anything; this
        // covers a track that was no longer due (nothing reported).
        if (!m_task)
            reschedule();
    });
}

} // namespace platform
