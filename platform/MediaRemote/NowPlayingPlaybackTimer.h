#pragma once
// Keeps a now-playing application's track ends on time: a task on the main run loop, due
// when the current track will end, that lets the application play on to the next one.
// Whoever owns the application keeps one beside it while a run loop exists; without it
// a track end is only noticed at the application's next call.

#include "NowPlayingApplication.h"

#include "Foundation/RunLoop.h"

#include <optional>

namespace platform {

class NowPlayingPlaybackTimer {
public:
    // Borrows the application, which must outlive the timer. Works on whatever run loop
    // is the main one at each change; none means nothing is scheduled.
    explicit NowPlayingPlaybackTimer(NowPlayingApplication&);
    ~NowPlayingPlaybackTimer();
    NowPlayingPlaybackTimer(const NowPlayingPlaybackTimer&) = delete;
    NowPlayingPlaybackTimer& operator=(const NowPlayingPlaybackTimer&) = delete;

    // The application's state changed behind the timer's back (say, it was replaced by
    // one restored from JSON): schedule afresh. Changes it reports need no call.
    void reschedule();

private:
    void cancel();

    NowPlayingApplication& m_application;
    NowPlayingApplication::ListenerId m_listener;
    std::optional<RunLoop::TaskId> m_task;
};

} // namespace platform
