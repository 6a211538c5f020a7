#pragma once
// The process the scenario interpreter is running in, as the interpreter sees it: a run
// loop with the clock, the now-playing application, and SpringBoard when this process is
// SpringBoard.

class SpringBoard;

namespace platform {
class NowPlayingApplication;
class RunLoop;
} // namespace platform

namespace sim {

class ScenarioHost {
public:
    virtual ~ScenarioHost() = default;

    virtual platform::RunLoop& runLoop() = 0;
    virtual platform::NowPlayingApplication& nowPlaying() = 0;
    // Null while SpringBoard is not running (before boot).
    virtual SpringBoard* springBoard() { return nullptr; }
    // The loaded tweak's dlopen handle, null when none is loaded.
    virtual void* tweakHandle() { return nullptr; }
};

} // namespace sim
