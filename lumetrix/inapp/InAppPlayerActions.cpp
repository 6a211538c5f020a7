// The in-app player's controls and visibility: taps, swipes, the fade-out, the strip's
// refresh, the title and colours, and hiding and showing with the home grabber.

#include "startup/AssociatedState.h"
#include "startup/Hooks.h"

#include "nowplaying/NowPlaying.h"
#include "player/ColourLooks.h"
#include "player/ControlRowBehaviour.h"
#include "player/PlayerProperties.h"
#include "player/ProgressStrip.h"

#include "Foundation/NSTimer.h"
#include "SpringBoard/SBDeviceApplicationSceneViewController.h"
#include "UIKit/UIGestureRecognizer.h"
#include "UIKit/UILabel.h"
#include "UIKit/UIProgressView.h"
#include "UIKit/UIView.h"
#include "dispatch/dispatch.h"

#include <vector>

namespace lumetrix {

namespace {

constexpr double kHideDelay = 1.0;
constexpr double kPlayerFadeDuration = 0.5;

using Controller = SBDeviceApplicationSceneViewController;

// How many show requests a controller has had. A hide request waits a second and then
// fades for half a second; attention that comes back in that time wins, so the hide goes
// ahead only if no show request came after it.
class ShowRequests : public NSObject {
public:
    unsigned long long count = 0;
};

const char kShowRequestsKey = 0;

ShowRequests* showRequests(Controller* controller)
{
    return associatedState<ShowRequests>(controller, &kShowRequestsKey);
}

// Hidden, or on its way out (its model alpha is already lower than full).
bool isHiddenOrFadingOut(UIView* view)
{
    return view->isHidden() || view->alpha() < 1.0;
}

} // namespace

void SBDeviceApplicationSceneViewController_hidemediaplayer(Controller* self, SEL, id)
{
    objc::WeakPtr<Controller> weakSelf = self;
    unsigned long long showsBefore = showRequests(self)->count;
    dispatch_after(dispatch_time(DISPATCH_TIME_NOW, static_cast<int64_t>(kHideDelay * NSEC_PER_SEC)), dispatch_get_main_queue(), [weakSelf, showsBefore] {
        auto controller = weakSelf.strong();
        if (!controller || showRequests(controller.get())->count != showsBefore)
            return;
        objc::RefPtr<UIView> row = subView(controller.get());
        objc::RefPtr<UILabel> title = label(controller.get());
        objc::RefPtr<UIView> backdrop = labelbg(controller.get());
        objc::RefPtr<UIProgressView> strip = progressView(controller.get());
        row->setAlpha(1.0);
        title->setAlpha(1.0);
        strip->setAlpha(1.0);
        UIView::animateWithDuration(kPlayerFadeDuration, [row, title, strip] {
            row->setAlpha(0.0);
            title->setAlpha(0.0);
            strip->setAlpha(0.0);
        }, [weakSelf, showsBefore, row, title, backdrop, strip](bool) {
            auto alive = weakSelf.strong();
            if (alive && showRequests(alive.get())->count != showsBefore)
                return;
            row->setHidden(true);
            title->setHidden(true);
            backdrop->setHidden(true);
            strip->setHidden(true);
        });
    });
}

void SBDeviceApplicationSceneViewController_showmediaplayer(Controller* self, SEL, id)
{
    ++showRequests(self)->count;
    // Only what is hidden or fading out fades in: a player fully on screen would blink.
    std::vector<objc::RefPtr<UIView>> fading;
    for (UIView* view : { static_cast<UIView*>(subView(self)), static_cast<UIView*>(label(self)), static_cast<UIView*>(progressView(self)) }) {
        if (isHiddenOrFadingOut(view)) {
            view->setAlpha(0.0);
            fading.push_back(view);
        }
    }
    if (fading.empty())
        return;
    objc::RefPtr<UIProgressView> strip = progressView(self);
    UIView::animateWithDuration(kPlayerFadeDuration, [fading] {
        for (auto& view : fading)
            view->setAlpha(1.0);
    }, [strip](bool) {
        // Only the strip comes back; a hidden row returns through a tap.
        strip->setHidden(false);
    });
}

void SBDeviceApplicationSceneViewController_playpausenotif(Controller* self, SEL)
{
    refreshPlayPauseGlyphSoon(self);
}

void SBDeviceApplicationSceneViewController_updateProgress(Controller* self, SEL, id)
{
    refreshProgressStrip(self);
}

void SBDeviceApplicationSceneViewController_tapGesture(Controller* self, SEL, id recognizer)
{
    double x = static_cast<UIGestureRecognizer*>(recognizer)->locationInView(previoustapview(self)).x;
    handleTap(self, x);
}

void SBDeviceApplicationSceneViewController_swipeleft(Controller*, SEL, id)
{
    handleSwipe(SkipDirection::Back);
}

void SBDeviceApplicationSceneViewController_swiperight(Controller*, SEL, id)
{
    handleSwipe(SkipDirection::Forward);
}

void SBDeviceApplicationSceneViewController_dismissControls(Controller* self, SEL, id timer)
{
    dismissControls(self, objc_cast<NSTimer>(timer), InvalidateTimer::AtOnce);
}

void SBDeviceApplicationSceneViewController_updateMedia(Controller* self, SEL)
{
    requestNowPlayingInfo<Controller>(self, [](Controller* controller, NSDictionary* info) {
        showTitle(controller, info);
        applyArtworkColour(controller, info);
    });
}

} // namespace lumetrix
