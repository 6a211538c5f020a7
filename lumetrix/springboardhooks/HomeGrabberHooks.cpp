// The in-app home grabber: it no longer bounces, and its attention changes become the
// requests that hide and show the in-app players.

#include "startup/Hooks.h"

#include "Foundation/NSLog.h"
#include "Foundation/NSNotificationCenter.h"
#include "Foundation/NSString.h"
#include "SpringBoard/SBHomeGrabberView.h"

namespace lumetrix {

void (*orig_SBHomeGrabberView__bounce)(SBHomeGrabberView*, SEL);
void (*orig_SBHomeGrabberView_attentionLost)(SBHomeGrabberView*, SEL, id, double, unsigned long long, id);
void (*orig_SBHomeGrabberView_clientDidResetForUserAttention)(SBHomeGrabberView*, SEL, id);

void hook_SBHomeGrabberView__bounce(SBHomeGrabberView*, SEL)
{
    // The grabber stays still: the player sits where it would bounce.
}

void hook_SBHomeGrabberView_attentionLost(SBHomeGrabberView* self, SEL _cmd, id client, double timeout, unsigned long long generation, id associatedObject)
{
    orig_SBHomeGrabberView_attentionLost(self, _cmd, client, timeout, generation, associatedObject);
    // Part of the tweak's observable output, logged on every expiry: not a debug leftover.
    NSLog("KAKASTRONT %.20f", timeout);
    NSNotificationCenter::defaultCenter()->postNotificationName("hidemediaplayer"_ns, self);
}

void hook_SBHomeGrabberView_clientDidResetForUserAttention(SBHomeGrabberView* self, SEL _cmd, id client)
{
    orig_SBHomeGrabberView_clientDidResetForUserAttention(self, _cmd, client);
    NSNotificationCenter::defaultCenter()->postNotificationName("showmediaplayer"_ns, self);
}

} // namespace lumetrix
