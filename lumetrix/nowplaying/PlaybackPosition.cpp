#include "PlaybackPosition.h"

#include "CoreFoundation/CFDate.h"
#include "Foundation/NSString.h"
#include "Foundation/NSDate.h"
#include "Foundation/NSDictionary.h"
#include "Foundation/NSNumber.h"
#include "MediaRemote/MediaRemote.h"

namespace lumetrix {

std::optional<double> playedFraction(NSDictionary* info, Playhead playhead)
{
    if (!info)
        return std::nullopt;
    auto timestamp = objc_cast<NSDate>(info->objectForKey(kMRMediaRemoteNowPlayingInfoTimestamp));
    if (!timestamp)
        return std::nullopt;
    double sampledAt = CFDateGetAbsoluteTime(timestamp);
    auto seconds = [&](const NSString* key) {
        NSObject* value = info->objectForKey(key);
        return value ? objc_send<"doubleValue", double>(static_cast<id>(value)) : 0.0;
    };
    double elapsed = seconds(kMRMediaRemoteNowPlayingInfoElapsedTime);
    double duration = seconds(kMRMediaRemoteNowPlayingInfoDuration);
    double now = CFAbsoluteTimeGetCurrent();
    if (duration == 0)
        return 0.0;
    double counted = elapsed > 1.0 ? elapsed : 0.0;
    double sinceSample = playhead == Playhead::Moving ? now - sampledAt : 0.0;
    return (counted + sinceSample) / duration;
}

} // namespace lumetrix
