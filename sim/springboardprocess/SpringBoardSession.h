#pragma once
// One SpringBoard lifetime, assembled: the process set up with its tweaks, the now-playing
// application and the service SpringBoard reads it through, and the simulated SpringBoard
// itself. Make one in the process that is to be SpringBoard; a respring is a new process
// with a new session, handed the application's state.

#include "SpringBoardProcess.h"

#include "MediaRemote/NowPlayingApplication.h"
#include "MediaRemote/NowPlayingSource.h"

#include <functional>
#include <memory>
#include <string>

class SpringBoard;

namespace platform {
class NowPlayingPlaybackTimer;
class NowPlayingService;
} // namespace platform

namespace sim {

class SpringBoardSession {
public:
    // Makes the source SpringBoard's service reads in place of the scripted application,
    // once the process's run loop exists.
    using NowPlayingSourceFactory = std::function<std::unique_ptr<platform::NowPlayingSource>()>;

    // `startTime` is the clock's reading at the start (absolute time); `application` the
    // now-playing application as it is (it outlives SpringBoard restarts). Without a
    // source factory SpringBoard hears the application.
    SpringBoardSession(const std::string& deviceRoot, double startTime, platform::NowPlayingApplication application,
        platform::RunLoop::ClockMode = platform::RunLoop::ClockMode::Virtual, const NowPlayingSourceFactory& = {});
    ~SpringBoardSession();

    SpringBoardProcess& process() { return m_process; }
    platform::RunLoop& runLoop() { return m_process.runLoop(); }
    SpringBoard& springBoard() { return *m_springBoard; }
    platform::NowPlayingApplication& nowPlaying() { return m_application; }

    // Runs everything due within `seconds` of virtual time (0: what is due now).
    void runFor(double seconds);
    double now() const;

private:
    SpringBoardProcess m_process;
    platform::NowPlayingApplication m_application;
    std::unique_ptr<platform::NowPlayingPlaybackTimer> m_playbackTimer;
    std::unique_ptr<platform::NowPlayingService> m_service;
    std::unique_ptr<SpringBoard> m_springBoard;
};

} // namespace sim
