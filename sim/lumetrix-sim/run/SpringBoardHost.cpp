#include "SpringBoardHost.h"

#include "DeviceHost.h"
#include "RunState.h"

#include "SpringBoard/SpringBoard.h"
#include "UIKit/UIColor.h"
#include "UIKit/UIDeviceProfile.h"

namespace sim {

SpringBoardHost::SpringBoardHost(const std::string& deviceRoot, const RunState& state, platform::RunLoop::ClockMode clockMode,
    const SpringBoardSession::NowPlayingSourceFactory& sourceFactory)
    : m_session(deviceRoot, state.now, restoreApplication(state), clockMode, sourceFactory)
{
    if (auto* profile = UIDeviceProfile::named(state.device))
        UIDeviceProfile::setCurrent(*profile);
    UIKitSetCurrentUserInterfaceStyle(state.dark ? UIUserInterfaceStyle::Dark : UIUserInterfaceStyle::Light);
    // SpringBoard asks what already plays as it boots; the answer comes at the first turn
    // of the run loop.
    m_session.springBoard().boot();
}

void* SpringBoardHost::tweakHandle()
{
    for (auto& tweak : m_session.process().tweaks()) {
        if (tweak.name == "lumetrix")
            return tweak.handle;
    }
    return nullptr;
}

void SpringBoardHost::save(RunState& state)
{
    // The device process holds the tracks it handed over: only what follows them goes back.
    state.application = m_session.nowPlaying().toJSON(state.tracks ? state.tracks->size() : 0);
    state.now = runLoop().now();
}

} // namespace sim
