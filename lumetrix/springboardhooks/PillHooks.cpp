// The system's own home-bar pill, which the progress strip replaces: hidden after every
// layout pass.

#include "startup/Hooks.h"

#include "SpringBoard/MTLumaDodgePillView.h"
#include "objc/message.h"

namespace lumetrix {

void (*orig_MTLumaDodgePillView_layoutSubviews)(MTLumaDodgePillView*, SEL);

void hook_MTLumaDodgePillView_layoutSubviews(MTLumaDodgePillView* self, SEL _cmd)
{
    orig_MTLumaDodgePillView_layoutSubviews(self, _cmd);
    objc_send<"setHidden:">(self, YES);
}

} // namespace lumetrix
