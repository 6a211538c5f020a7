#include "NowPlaying.h"

#include "AudioToolbox/AudioServices.h"
#include "Foundation/NSString.h"
#include "Foundation/NSDictionary.h"
#include "Foundation/NSNumber.h"
#include "MediaRemote/MediaRemote.h"
#include "SpringBoard/SBMediaController.h"
#include "dispatch/dispatch.h"
#include "objc/WeakPtr.h"
#include "objc/message.h"

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
    // [[SBMediaController sharedInstance] isPlaying]; the class is looked up by name, and
    // without it the answer is NO, as a message to nil gives.
    SBMediaController* controller = static_cast<SBMediaController*>(objc_sendToClass<"SBMediaController", "sharedInstance", id>());
    return objc_send<"isPlaying", bool>(controller);
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
