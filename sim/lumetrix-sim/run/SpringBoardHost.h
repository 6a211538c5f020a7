#pragma once
// A SpringBoard process as the interpreter's host: the platform set up, the tweak
// loaded, the now-playing application carried over from the previous process, and
// SpringBoard booted (the phone comes up locked). Make it once, in a fresh process.

#include "ScenarioHost.h"

#include "sim/springboardprocess/SpringBoardSession.h"

#include "Foundation/RunLoop.h"

#include <string>

namespace sim {

struct RunState;

class SpringBoardHost final : public ScenarioHost {
public:
    SpringBoardHost(const std::string& deviceRoot, const RunState&, platform::RunLoop::ClockMode,
        const SpringBoardSession::NowPlayingSourceFactory& = {});

    platform::RunLoop& runLoop() override { return m_session.runLoop(); }
    platform::NowPlayingApplication& nowPlaying() override { return m_session.nowPlaying(); }
    SpringBoard* springBoard() override { return &m_session.springBoard(); }
    void* tweakHandle() override;

    void save(RunState&);

private:
    SpringBoardSession m_session;
};

} // namespace sim
