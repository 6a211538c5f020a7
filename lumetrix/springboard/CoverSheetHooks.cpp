// The cover sheet around the lock-screen player: its call-to-action label and its own
// media controls.

#include "startup/Hooks.h"

namespace lumetrix {

void (*orig_CSTeachableMomentsContainerView_layoutSubviews)(CSTeachableMomentsContainerView*, SEL);
id (*orig_CSNowPlayingController_controlsViewController)(CSNowPlayingController*, SEL);

void hook_CSTeachableMomentsContainerView_layoutSubviews(CSTeachableMomentsContainerView* self, SEL _cmd)
{
    orig_CSTeachableMomentsContainerView_layoutSubviews(self, _cmd);
}

id hook_CSNowPlayingController_controlsViewController(CSNowPlayingController* self, SEL _cmd)
{
    return orig_CSNowPlayingController_controlsViewController(self, _cmd);
}

} // namespace lumetrix
