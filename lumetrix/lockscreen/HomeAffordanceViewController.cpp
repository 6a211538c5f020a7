// The lock-screen player: control row, label and touch target on the cover sheet.

#include "startup/Hooks.h"

namespace lumetrix {

void (*orig_CSHomeAffordanceViewController_loadView)(CSHomeAffordanceViewController*, SEL);

void hook_CSHomeAffordanceViewController_loadView(CSHomeAffordanceViewController* self, SEL _cmd)
{
    orig_CSHomeAffordanceViewController_loadView(self, _cmd);
}

void CSHomeAffordanceViewController_playpausenotif(CSHomeAffordanceViewController*, SEL) { }
void CSHomeAffordanceViewController_tapGesture(CSHomeAffordanceViewController*, SEL, id) { }
void CSHomeAffordanceViewController_swipeleft(CSHomeAffordanceViewController*, SEL, id) { }
void CSHomeAffordanceViewController_swiperight(CSHomeAffordanceViewController*, SEL, id) { }
void CSHomeAffordanceViewController_dismissControls(CSHomeAffordanceViewController*, SEL, id) { }
void CSHomeAffordanceViewController_updateMedia(CSHomeAffordanceViewController*, SEL) { }
void CSHomeAffordanceViewController_updateMediaColour(CSHomeAffordanceViewController*, SEL, id) { }

} // namespace lumetrix
