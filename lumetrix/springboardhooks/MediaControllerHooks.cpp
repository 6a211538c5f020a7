// Every now-playing change: with dynamic colours on, the artwork's average colour is
// broadcast to the lock-screen player, and to its strip when the strip follows the artwork.

#include "startup/Globals.h"
#include "startup/Hooks.h"

#include "nowplaying/AverageColor.h"
#include "nowplaying/NowPlaying.h"

#include "Foundation/NSDictionary.h"
#include "Foundation/NSNotificationCenter.h"
#include "Foundation/NSString.h"
#include "SpringBoard/SBMediaController.h"
#include "UIKit/UIColor.h"

namespace lumetrix {

void (*orig_SBMediaController_setNowPlayingInfo)(SBMediaController*, SEL, id);

namespace {

void broadcastArtworkColour(SBMediaController* controller, NSDictionary* info)
{
    // No record, no artwork, or artwork that does not decode: no colour to send.
    UIColor* colour = artworkColour(info);
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
