// The artwork colour on the lock-screen player: the strip (on "UpdateHomeSB") and the row
// and title (on "updateColourSB"). The settings are read when each notification arrives.

#include "StripColour.h"

#include "startup/Hooks.h"

#include "player/ColourLooks.h"
#include "player/PlayerProperties.h"

#include "SpringBoard/CSHomeAffordanceView.h"
#include "SpringBoard/CSHomeAffordanceViewController.h"
#include "UIKit/UIColor.h"
#include "UIKit/UIProgressView.h"

namespace lumetrix {

namespace {

// The last colour sent to a home bar. The colour of the track playing at boot is sent
// seconds before the bar builds its strip, and the track may not change for minutes.
const char kLastStripColourKey = 0;

void tintStrip(UIProgressView* strip, UIColor* colour)
{
    strip->setProgressTintColor(colourIsLive() ? colour : UIColor::whiteColor().get());
}

} // namespace

void tintWithLastStripColour(CSHomeAffordanceView* view, UIProgressView* strip)
{
    if (auto colour = objc_cast<UIColor>(objc_getAssociatedObject(view, &kLastStripColourKey)))
        tintStrip(strip, colour);
}

void CSHomeAffordanceView_updateSliderColour(CSHomeAffordanceView* self, SEL, id notification)
{
    UIColor* colour = notifiedColour(notification);
    if (!colour)
        return;
    objc_setAssociatedObject(self, &kLastStripColourKey, colour, OBJC_ASSOCIATION_RETAIN_NONATOMIC);
    if (UIProgressView* strip = progressView(self))
        tintStrip(strip, colour);
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
