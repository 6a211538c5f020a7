// The in-app home grabber: no bounce, and its attention changes hide and show the player.

#include "startup/Hooks.h"

namespace lumetrix {

void (*orig_SBHomeGrabberView__bounce)(SBHomeGrabberView*, SEL);
void (*orig_SBHomeGrabberView_attentionLost)(SBHomeGrabberView*, SEL, id, double, unsigned long long, id);
void (*orig_SBHomeGrabberView_clientDidResetForUserAttention)(SBHomeGrabberView*, SEL, id);

void hook_SBHomeGrabberView__bounce(SBHomeGrabberView* self, SEL _cmd)
{
    orig_SBHomeGrabberView__bounce(self, _cmd);
}

void hook_SBHomeGrabberView_attentionLost(SBHomeGrabberView* self, SEL _cmd, id client, double timeout, unsigned long long generation, id associatedObject)
{
    orig_SBHomeGrabberView_attentionLost(self, _cmd, client, timeout, generation, associatedObject);
}

void hook_SBHomeGrabberView_clientDidResetForUserAttention(SBHomeGrabberView* self, SEL _cmd, id client)
{
    orig_SBHomeGrabberView_clientDidResetForUserAttention(self, _cmd, client);
}

} // namespace lumetrix
