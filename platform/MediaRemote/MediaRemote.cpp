#include "MediaRemote.h"

#include "NowPlayingService.h"

#include "Foundation/NSDictionary.h"
#include "Foundation/NSString.h"
#include "Platform/Platform.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <utility>

NSString* kMRMediaRemoteNowPlayingInfoTitle;
NSString* kMRMediaRemoteNowPlayingInfoArtist;
NSString* kMRMediaRemoteNowPlayingInfoAlbum;
NSString* kMRMediaRemoteNowPlayingInfoDuration;
NSString* kMRMediaRemoteNowPlayingInfoElapsedTime;
NSString* kMRMediaRemoteNowPlayingInfoPlaybackRate;
NSString* kMRMediaRemoteNowPlayingInfoTimestamp;
NSString* kMRMediaRemoteNowPlayingInfoArtworkData;
NSString* kMRMediaRemoteNowPlayingInfoArtworkMIMEType;
NSString* kMRMediaRemoteOptionSkipInterval;
NSString* kMRMediaRemoteNowPlayingInfoDidChangeNotification;
NSString* kMRMediaRemoteNowPlayingApplicationIsPlayingDidChangeNotification;

namespace platform {

void registerMediaRemoteConstants()
{
    if (kMRMediaRemoteNowPlayingInfoTitle)
        return;
    if (!NSString::staticClass()) {
        std::fprintf(stderr, "MediaRemote: Foundation's classes must be registered before its constants are made\n");
        std::abort();
    }
    // Each constant's value is its own name, so the name is written once.
#define MEDIAREMOTE_CONSTANT(name) { &name, #name }
    const std::pair<NSString**, const char*> constants[] = {
        MEDIAREMOTE_CONSTANT(kMRMediaRemoteNowPlayingInfoTitle),
        MEDIAREMOTE_CONSTANT(kMRMediaRemoteNowPlayingInfoArtist),
        MEDIAREMOTE_CONSTANT(kMRMediaRemoteNowPlayingInfoAlbum),
        MEDIAREMOTE_CONSTANT(kMRMediaRemoteNowPlayingInfoDuration),
        MEDIAREMOTE_CONSTANT(kMRMediaRemoteNowPlayingInfoElapsedTime),
        MEDIAREMOTE_CONSTANT(kMRMediaRemoteNowPlayingInfoPlaybackRate),
        MEDIAREMOTE_CONSTANT(kMRMediaRemoteNowPlayingInfoTimestamp),
        MEDIAREMOTE_CONSTANT(kMRMediaRemoteNowPlayingInfoArtworkData),
        MEDIAREMOTE_CONSTANT(kMRMediaRemoteNowPlayingInfoArtworkMIMEType),
        MEDIAREMOTE_CONSTANT(kMRMediaRemoteOptionSkipInterval),
        MEDIAREMOTE_CONSTANT(kMRMediaRemoteNowPlayingInfoDidChangeNotification),
        MEDIAREMOTE_CONSTANT(kMRMediaRemoteNowPlayingApplicationIsPlayingDidChangeNotification),
    };
#undef MEDIAREMOTE_CONSTANT
    // Constant strings live as long as the framework's image: never released. The first
    // one is set last, since it marks the whole table as made.
    for (auto it = std::rbegin(constants); it != std::rend(constants); ++it)
        *it->first = NSString::create(it->second).leakRef();
}

} // namespace platform

void MRMediaRemoteGetNowPlayingInfo(dispatch_queue_t queue, std::function<void(NSDictionary* info)> block)
{
    if (!block)
        return;
    // As across the framework's connection: the answer comes at the queue's next turn and
    // describes the state then.
    dispatch_async(queue, [block = std::move(block)]() mutable {
        objc::RefPtr<NSDictionary> info;
        if (auto* service = platform::NowPlayingService::current())
            info = service->nowPlayingInfo();
        auto reply = std::move(block);
        reply(info.get());
    });
}

bool MRMediaRemoteSendCommand(MRMediaRemoteCommand command, NSDictionary* options)
{
    platform::emitEvent({
        { "type", "command" },
        { "command", command },
        { "options", options ? options->jsonValue() : nlohmann::json::object() },
    });
    auto* service = platform::NowPlayingService::current();
    return service && service->sendCommand(command, options);
}
