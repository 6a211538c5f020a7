// The lock-screen player's controls: taps, swipes, the fade-out, and the glyph and label
// following the now-playing state.

#include "startup/Globals.h"
#include "startup/Hooks.h"

#include "nowplaying/NowPlaying.h"
#include "player/ColourLooks.h"
#include "player/ControlRowBehaviour.h"
#include "player/PlayerProperties.h"

#include "Foundation/NSTimer.h"
#include "SpringBoard/CSHomeAffordanceView.h"
#include "SpringBoard/CSHomeAffordanceViewController.h"
#include "UIKit/UIGestureRecognizer.h"
#include "UIKit/UIView.h"

namespace lumetrix {

void CSHomeAffordanceViewController_playpausenotif(CSHomeAffordanceViewController* self, SEL)
{
    refreshPlayPauseGlyphSoon(self);
}

void CSHomeAffordanceViewController_updateMedia(CSHomeAffordanceViewController* self, SEL)
{
    requestNowPlayingInfo<CSHomeAffordanceViewController>(self, [](CSHomeAffordanceViewController* controller, NSDictionary* info) {
        showTitle(controller, info);
        // A pause or stop without artwork broadcasts no colour, so the neutral look comes
        // from here. The strip follows the artwork only with homebardynamic.
        UIProgressView* strip = homebardynamic ? progressView(controller->homeAffordanceView()) : nullptr;
        applyNeutralLookWhenIdle(controller, strip);
    });
}

void CSHomeAffordanceViewController_tapGesture(CSHomeAffordanceViewController* self, SEL, id recognizer)
{
    // The tap's position across the row (the row and the touch target are both 100 points
    // wide and centred on the same line).
    double x = static_cast<UIGestureRecognizer*>(recognizer)->locationInView(subView(self)).x;
    handleTap(self, x);
}

void CSHomeAffordanceViewController_swipeleft(CSHomeAffordanceViewController*, SEL, id)
{
    handleSwipe(SkipDirection::Back);
}

void CSHomeAffordanceViewController_swiperight(CSHomeAffordanceViewController*, SEL, id)
{
    handleSwipe(SkipDirection::Forward);
}

void CSHomeAffordanceViewController_dismissControls(CSHomeAffordanceViewController* self, SEL, id timer)
{
    dismissControls(self, objc_cast<NSTimer>(timer), InvalidateTimer::WhenHidden);
}

} // namespace lumetrix
