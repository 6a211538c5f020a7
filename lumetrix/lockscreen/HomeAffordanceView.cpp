// The lock screen's home bar: the system pill's place, where the progress strip goes.

#include "startup/Hooks.h"

namespace lumetrix {

void (*orig_CSHomeAffordanceView_layoutSubviews)(CSHomeAffordanceView*, SEL);
void (*orig_CSHomeAffordanceView__createStaticHomeAffordance)(CSHomeAffordanceView*, SEL);

void hook_CSHomeAffordanceView_layoutSubviews(CSHomeAffordanceView* self, SEL _cmd)
{
    orig_CSHomeAffordanceView_layoutSubviews(self, _cmd);
}

void hook_CSHomeAffordanceView__createStaticHomeAffordance(CSHomeAffordanceView* self, SEL _cmd)
{
    orig_CSHomeAffordanceView__createStaticHomeAffordance(self, _cmd);
}

void CSHomeAffordanceView_updateProgress(CSHomeAffordanceView*, SEL, id)
{
}

void CSHomeAffordanceView_updateSliderColour(CSHomeAffordanceView*, SEL, id)
{
}

} // namespace lumetrix
