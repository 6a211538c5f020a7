// The artwork colour on the lock-screen player: the strip (on "UpdateHomeSB") and the row
// and title (on "updateColourSB"). The settings are read when each notification arrives.

#include "startup/Hooks.h"

#include "player/ColourLooks.h"
#include "player/PlayerProperties.h"

#include "SpringBoard/CSHomeAffordanceView.h"
#include "SpringBoard/CSHomeAffordanceViewController.h"
#include "UIKit/UIColor.h"
#include "UIKit/UIProgressView.h"

namespace lumetrix {

void CSHomeAffordanceView_updateSliderColour(CSHomeAffordanceView* self, SEL, id notification)
{
    UIColor* colour = notifiedColour(notification);
    // A view whose strip is not built yet has nothing to tint.
    UIProgressView* strip = progressView(self);
    if (!colour || !strip)
        return;
    strip->setProgressTintColor(colourIsLive() ? colour : UIColor::whiteColor().get());
}

void CSHomeAffordanceViewController_updateMediaColour(CSHomeAffordanceViewController* self, SEL, id notification)
{
    UIColor* colour = notifiedColour(notification);
    if (!colour)
        return;
    if (colourIsLive())
        applyColouredLook(self, colour);
    else
        applyNeutralLook(self);
}

} // namespace lumetrix
