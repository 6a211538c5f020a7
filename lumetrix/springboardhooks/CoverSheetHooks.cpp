// The cover sheet around the lock-screen player: its call-to-action label is hidden, and
// its own media controls can be suppressed.

#include "startup/Globals.h"
#include "startup/Hooks.h"

#include "SpringBoard/CSTeachableMomentsContainerView.h"
#include "UIKit/UILabel.h"
#include "objc/message.h"

namespace lumetrix {

void (*orig_CSTeachableMomentsContainerView_layoutSubviews)(CSTeachableMomentsContainerView*, SEL);
id (*orig_CSNowPlayingController_controlsViewController)(CSNowPlayingController*, SEL);

void hook_CSTeachableMomentsContainerView_layoutSubviews(CSTeachableMomentsContainerView* self, SEL _cmd)
{
    if (auto label = static_cast<UILabel*>(objc_send<"callToActionLabel", id>(self)))
        objc_send<"setHidden:">(label, YES);
    orig_CSTeachableMomentsContainerView_layoutSubviews(self, _cmd);
}

id hook_CSNowPlayingController_controlsViewController(CSNowPlayingController* self, SEL _cmd)
{
    if (hidelsplayer)
        return nil;
    return orig_CSNowPlayingController_controlsViewController(self, _cmd);
}

} // namespace lumetrix
