// The lock screen's home bar. The system pill is drawn clear after every layout pass, and
// three seconds after the bar creates its static affordance a progress strip takes the
// pill's place, refreshed once a second from the now-playing service.

#include "startup/AssociatedState.h"
#include "startup/Globals.h"
#include "startup/Hooks.h"

#include "StripColour.h"

#include "nowplaying/NowPlaying.h"
#include "player/PlayerProperties.h"
#include "player/ProgressStrip.h"

#include "CoreFoundation/CFDate.h"
#include "Foundation/NSDate.h"
#include "Foundation/NSDictionary.h"
#include "Foundation/NSLog.h"
#include "Foundation/NSNotificationCenter.h"
#include "Foundation/NSNumber.h"
#include "Foundation/NSString.h"
#include "Foundation/NSTimer.h"
#include "MaterialKit/MTMaterialView.h"
#include "MediaRemote/MediaRemote.h"
#include "SpringBoard/CSHomeAffordanceView.h"
#include "UIKit/UIColor.h"
#include "UIKit/UIProgressView.h"
#include "dispatch/dispatch.h"
#include "objc/message.h"

namespace lumetrix {

void (*orig_CSHomeAffordanceView_layoutSubviews)(CSHomeAffordanceView*, SEL);
void (*orig_CSHomeAffordanceView__createStaticHomeAffordance)(CSHomeAffordanceView*, SEL);

namespace {

// What one home affordance view keeps of its strip between rebuilds: whether it already
// listens for the strip colour, and the refresh timer of its current strip (weakly: the
// run loop owns the timer, and the timer owns the view).
class StripState : public NSObject {
public:
    bool subscribed = false;
    objc::WeakPtr<NSTimer> refreshTimer;
};

const char kStripStateKey = 0;

StripState* stripState(CSHomeAffordanceView* view)
{
    return associatedState<StripState>(view, &kStripStateKey);
}

constexpr double kStripDelay = 3.0;

void buildStrip(CSHomeAffordanceView* view)
{
    CGRect frame = view->frame();
    HomeFrame = frame;
    // Part of the tweak's observable output, logged for every strip built: not a debug leftover.
    NSLog("[Orva] %@", NSStringFromCGRect(frame).get());

    auto strip = makeProgressStrip(UIColor::clearColor().get());
    // The newest strip replaces any earlier one, in the property and in the view tree.
    if (UIProgressView* previous = progressView(view))
        previous->removeFromSuperview();
    setProperty<"setProgressView:">(view, strip.get());
    // The colour sent before the strip existed (the broadcast at boot comes first).
    tintWithLastStripColour(view, strip.get());

    auto backdrop = MTMaterialView::materialViewWithRecipe(2, 1, 1.0);
    backdrop->setFrame(strip->bounds());
    backdrop->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    backdrop->setAlpha(1.0);
    strip->addSubview(backdrop.get());
    strip->sendSubviewToBack(backdrop.get());

    // Full until the first refresh a second from now.
    placeProgressStrip(strip.get(), view, view->safeAreaLayoutGuide(), HomeBarOffSetContant);

    StripState* state = stripState(view);
    if (NSTimer* previousTimer = state->refreshTimer.get())
        previousTimer->invalidate();
    state->refreshTimer = NSTimer::scheduledTimerWithTimeInterval(1.0, view, "updateProgress:"_sel, nil, true);
}

} // namespace

void hook_CSHomeAffordanceView_layoutSubviews(CSHomeAffordanceView* self, SEL _cmd)
{
    orig_CSHomeAffordanceView_layoutSubviews(self, _cmd);
    objc_send<"setOverrideColor:">(self, static_cast<id>(UIColor::clearColor().get()));
}

void hook_CSHomeAffordanceView__createStaticHomeAffordance(CSHomeAffordanceView* self, SEL _cmd)
{
    orig_CSHomeAffordanceView__createStaticHomeAffordance(self, _cmd);
    StripState* state = stripState(self);
    if (!state->subscribed) {
        state->subscribed = true;
        NSNotificationCenter::defaultCenter()->addObserver(self, "updateSliderColour:"_sel, "UpdateHomeSB"_ns, nil);
    }
    objc::WeakPtr<CSHomeAffordanceView> weakSelf = self;
    dispatch_after(dispatch_time(DISPATCH_TIME_NOW, static_cast<int64_t>(kStripDelay * NSEC_PER_SEC)), dispatch_get_main_queue(), [weakSelf] {
        if (auto view = weakSelf.strong())
            buildStrip(view.get());
    });
}

void CSHomeAffordanceView_updateProgress(CSHomeAffordanceView* self, SEL, id)
{
    objc_send<"setOverrideColor:">(self, static_cast<id>(UIColor::clearColor().get()));
    refreshProgressStrip(self);
}

} // namespace lumetrix
