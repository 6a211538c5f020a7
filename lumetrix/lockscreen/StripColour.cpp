// The artwork colour on the lock-screen player: the strip, the row and the label backdrop.

#include "startup/Hooks.h"

namespace lumetrix {

void CSHomeAffordanceView_updateSliderColour(CSHomeAffordanceView*, SEL, id) { }
void CSHomeAffordanceViewController_updateMediaColour(CSHomeAffordanceViewController*, SEL, id) { }

} // namespace lumetrix
