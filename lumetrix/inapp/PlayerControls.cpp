// The in-app player's controls and visibility: taps, swipes, the fade-out, the strip's
// refresh, the title and colours, and hiding and showing with the home grabber.

#include "startup/Hooks.h"

#include "nowplaying/NowPlaying.h"
#include "nowplaying/PlaybackPosition.h"
#include "player/ColourLooks.h"
#include "player/Controls.h"
#include "player/PlayerProperties.h"

#include "Foundation/NSTimer.h"
#include "SpringBoard/SBDeviceApplicationSceneViewController.h"
#include "UIKit/UIGestureRecognizer.h"
#include "UIKit/UILabel.h"
#include "UIKit/UIProgressView.h"
#include "UIKit/UIView.h"
#include "dispatch/dispatch.h"

namespace lumetrix {

namespace {

constexpr double kHideDelay = 1.0;
constexpr double kPlayerFadeDuration = 0.5;

using Controller = SBDeviceApplicationSceneViewController;

} // namespace

void SBDeviceApplicationSceneViewController_hidemediaplayer(Controller* self, SEL, id)
{
    objc::WeakPtr<Controller> weakSelf = self;
    dispatch_after(dispatch_time(DISPATCH_TIME_NOW, static_cast<int64_t>(kHideDelay * NSEC_PER_SEC)), dispatch_get_main_queue(), [weakSelf] {
        auto controller = weakSelf.strong();
        if (!controller)
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
        }, [row, title, backdrop, strip](bool) {
            row->setHidden(true);
            title->setHidden(true);
            backdrop->setHidden(true);
            strip->setHidden(true);
        });
    });
}

void SBDeviceApplicationSceneViewController_showmediaplayer(Controller* self, SEL, id)
{
    objc::RefPtr<UIView> row = subView(self);
    objc::RefPtr<UILabel> title = label(self);
    objc::RefPtr<UIProgressView> strip = progressView(self);
    row->setAlpha(0.0);
    title->setAlpha(0.0);
    strip->setAlpha(0.0);
    UIView::animateWithDuration(kPlayerFadeDuration, [row, title, strip] {
        strip->setAlpha(1.0);
        row->setAlpha(1.0);
        title->setAlpha(1.0);
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
    requestNowPlayingInfo<Controller>(self, [](Controller* controller, NSDictionary* info) {
        std::optional<double> fraction = playedFraction(info);
        if (!fraction || !nowPlayingIsPlaying())
            return;
        if (UIProgressView* strip = progressView(controller))
            strip->setProgress(static_cast<float>(*fraction));
    });
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
