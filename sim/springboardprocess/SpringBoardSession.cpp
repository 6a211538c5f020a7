#include "SpringBoardSession.h"

#include "Foundation/RunLoop.h"
#include "MediaRemote/InProcessNowPlayingSource.h"
#include "MediaRemote/NowPlayingPlaybackTimer.h"
#include "MediaRemote/NowPlayingService.h"
#include "Platform/Platform.h"
#include "SpringBoard/SBMediaController.h"
#include "SpringBoard/SpringBoard.h"

namespace sim {

SpringBoardSession::SpringBoardSession(const std::string& deviceRoot, double startTime, platform::NowPlayingApplication application,
    platform::RunLoop::ClockMode clockMode, const NowPlayingSourceFactory& sourceFactory)
    : m_process(deviceRoot, startTime, clockMode)
    , m_application(std::move(application))
{
    m_playbackTimer = std::make_unique<platform::NowPlayingPlaybackTimer>(m_application);
    auto source = sourceFactory ? sourceFactory() : std::make_unique<platform::InProcessNowPlayingSource>(m_application);
    m_service = std::make_unique<platform::NowPlayingService>(std::move(source));
    // SpringBoard hears of every change through its media controller, as on a device.
    m_service->setMediaControllerUpdater([](NSDictionary* info) {
        SBMediaController::sharedInstance()->setNowPlayingInfo(info);
    });
    m_application.addListener([this](const platform::NowPlayingApplication::Change&) {
        platform::emitEvent(m_application.nowPlayingEvent(now()));
    });
    m_springBoard = std::make_unique<SpringBoard>();
}

SpringBoardSession::~SpringBoardSession() = default;

void SpringBoardSession::runFor(double seconds)
{
    runLoop().runFor(seconds);
}

double SpringBoardSession::now() const
{
    return const_cast<SpringBoardSession*>(this)->runLoop().now();
}

} // namespace sim
