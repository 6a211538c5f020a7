#include "NowPlaying.h"

#include "AudioToolbox/AudioServices.h"
#include "Foundation/NSString.h"
#include "Foundation/NSDictionary.h"
#include "Foundation/NSNumber.h"
#include "MediaRemote/MediaRemote.h"
#include "SpringBoard/SBMediaController.h"
#include "dispatch/dispatch.h"
#include "objc/WeakPtr.h"

namespace lumetrix {

void requestNowPlayingInfoWeakly(id host, std::function<void(id, NSDictionary*)> reply)
{
    objc::WeakPtr<objc::Object> weakHost = host;
    MRMediaRemoteGetNowPlayingInfo(dispatch_get_main_queue(), [weakHost, reply = std::move(reply)](NSDictionary* info) {
        if (auto alive = weakHost.strong())
            reply(alive.get(), info);
    });
}

bool nowPlayingIsPlaying()
{
    // Looked up by name at first use and kept for the life of the process.
    static Class mediaControllerClass = objc_getClass("SBMediaController");
    if (!mediaControllerClass)
        return false;
    return objc_msgSend<bool>(SBMediaController::sharedInstance(), "isPlaying"_sel);
}

void sendPlaybackCommand(std::uint32_t command)
{
    AudioServicesPlaySystemSound(kClickSound);
    MRMediaRemoteSendCommand(command, nullptr);
}

void sendSkipCommand(std::uint32_t command)
{
    AudioServicesPlaySystemSound(kClickSound);
    auto options = NSDictionary::create({ { objc::RefPtr<NSObject>(kMRMediaRemoteOptionSkipInterval), NSNumber::numberWithDouble(kSkipInterval) } });
    MRMediaRemoteSendCommand(command, options.get());
}

} // namespace lumetrix
