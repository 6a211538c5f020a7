#include "NowPlayingService.h"

#include "MediaRemote.h"
#include "NowPlayingInfoDictionary.h"

#include "CoreFoundation/CFDate.h"
#include "Foundation/NSDictionary.h"
#include "Foundation/NSNotificationCenter.h"
#include "Foundation/NSNumber.h"
#include "Foundation/NSString.h"

#include <cstdio>
#include <cstdlib>

namespace platform {

namespace {
NowPlayingService* s_currentService;
} // namespace

NowPlayingService::NowPlayingService(std::unique_ptr<NowPlayingSource> source)
    : m_source(std::move(source))
{
    if (s_currentService) {
        std::fprintf(stderr, "NowPlayingService: a process has one now-playing service; another already exists\n");
        std::abort();
    }
    s_currentService = this;
    registerMediaRemoteConstants();
    m_source->setChangeHandler([this](const NowPlayingChange& change) { sourceDidChange(change); });
}

NowPlayingService::~NowPlayingService()
{
    m_source->setChangeHandler(nullptr);
    s_currentService = nullptr;
}

NowPlayingService* NowPlayingService::current()
{
    return s_currentService;
}

void NowPlayingService::setMediaControllerUpdater(MediaControllerUpdater updater)
{
    m_mediaControllerUpdater = std::move(updater);
}

std::optional<NowPlayingRecord> NowPlayingService::record()
{
    return m_source->record(CFAbsoluteTimeGetCurrent());
}

objc::RefPtr<NSDictionary> NowPlayingService::nowPlayingInfo()
{
    double now = CFAbsoluteTimeGetCurrent();
    // A track that ended meanwhile is a change, announced here, which drops the snapshot.
    m_source->advanceTo(now);
    if (!m_snapshotIsCurrent) {
        auto current = m_source->record(now);
        m_snapshot = current ? makeNowPlayingInfoDictionary(*current) : nullptr;
        m_snapshotIsCurrent = true;
    }
    return m_snapshot;
}

bool NowPlayingService::sendCommand(MRMediaRemoteCommand command, NSDictionary* options)
{
    std::optional<double> skipInterval;
    if (options) {
        if (auto interval = objc_cast<NSNumber>(options->objectForKey(kMRMediaRemoteOptionSkipInterval)))
            skipInterval = interval->doubleValue();
    }
    return m_source->sendCommand(command, skipInterval);
}

void NowPlayingService::sourceDidChange(const NowPlayingChange& change)
{
    m_snapshotIsCurrent = false;
    auto info = nowPlayingInfo();
    // A copy: the updater may register another while it runs.
    if (auto updater = m_mediaControllerUpdater)
        updater(info.get());
    NSNotificationCenter* center = NSNotificationCenter::defaultCenter();
    center->postNotificationName(kMRMediaRemoteNowPlayingInfoDidChangeNotification, nil);
    if (change.playingStateChanged)
        center->postNotificationName(kMRMediaRemoteNowPlayingApplicationIsPlayingDidChangeNotification, nil);
}

} // namespace platform
