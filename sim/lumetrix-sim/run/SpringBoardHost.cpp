#include "SpringBoardHost.h"

#include "DeviceHost.h"
#include "RunState.h"

#include "MediaRemote/NowPlayingService.h"
#include "SpringBoard/SBMediaController.h"
#include "SpringBoard/SpringBoard.h"
#include "UIKit/UIColor.h"
#include "UIKit/UIDeviceProfile.h"

namespace sim {

SpringBoardHost::SpringBoardHost(const std::string& deviceRoot, const RunState& state, platform::RunLoop::ClockMode clockMode)
    : m_session(deviceRoot, state.now, restoreApplication(state), clockMode)
{
    if (auto* profile = UIDeviceProfile::named(state.device))
        UIDeviceProfile::setCurrent(*profile);
    UIKitSetCurrentUserInterfaceStyle(state.dark ? UIUserInterfaceStyle::Dark : UIUserInterfaceStyle::Light);
    m_session.springBoard().boot();
    // A SpringBoard that starts while something plays learns of it at once, as the media
    // server tells a new SpringBoard what is playing.
    if (m_session.nowPlaying().hasRecord()) {
        if (auto* service = platform::NowPlayingService::current()) {
            auto info = service->nowPlayingInfo();
            objc_msgSend(SBMediaController::sharedInstance(), "setNowPlayingInfo:"_sel, static_cast<id>(info.get()));
        }
    }
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
    state.application = m_session.nowPlaying().toJSON();
    state.now = runLoop().now();
}

} // namespace sim
