// Every now-playing change: with dynamic colours on, the artwork's average colour is
// broadcast to the lock-screen player, and to its strip when the strip follows the artwork.

#include "startup/Globals.h"
#include "startup/Hooks.h"

#include "nowplaying/AverageColor.h"
#include "nowplaying/NowPlaying.h"

#include "Foundation/NSData.h"
#include "Foundation/NSDictionary.h"
#include "Foundation/NSNotificationCenter.h"
#include "Foundation/NSString.h"
#include "MediaRemote/MediaRemote.h"
#include "SpringBoard/SBMediaController.h"
#include "UIKit/UIColor.h"
#include "UIKit/UIImage.h"

namespace lumetrix {

void (*orig_SBMediaController_setNowPlayingInfo)(SBMediaController*, SEL, id);

namespace {

void broadcastArtworkColour(SBMediaController* controller, NSDictionary* info)
{
    if (!info)
        return;
    auto artwork = objc_cast<NSData>(info->objectForKey(kMRMediaRemoteNowPlayingInfoArtworkData));
    if (!artwork)
        return;
    // Artwork that does not decode, or decodes to nothing, gives no colour to send.
    objc::RefPtr<UIImage> image = UIImage::imageWithData(artwork);
    UIColor* colour = image ? averageColor(image.get()) : nullptr;
    if (!colour)
        return;
    auto userInfo = NSDictionary::create({ { objc::RefPtr<NSObject>("bgcolor1"_ns), objc::RefPtr<NSObject>(colour) } });
    NSNotificationCenter* center = NSNotificationCenter::defaultCenter();
    center->postNotificationName("updateColourSB"_ns, controller, userInfo.get());
    // Read now, not when the request was made.
    if (homebardynamic)
        center->postNotificationName("UpdateHomeSB"_ns, controller, userInfo.get());
}

} // namespace

void hook_SBMediaController_setNowPlayingInfo(SBMediaController* self, SEL _cmd, id info)
{
    orig_SBMediaController_setNowPlayingInfo(self, _cmd, info);
    if (!dynamicenabled)
        return;
    requestNowPlayingInfo<SBMediaController>(self, [](SBMediaController* controller, NSDictionary* record) {
        broadcastArtworkColour(controller, record);
    });
}

} // namespace lumetrix
