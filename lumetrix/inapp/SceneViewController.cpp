// The player inside every full-screen app: each app's scene view controller, once its
// view has loaded, listens for now-playing changes and the home grabber's hide and show
// requests, and builds its own control row, strip and touch target.

#include "startup/Globals.h"
#include "startup/Hooks.h"

#include "player/ControlRowViews.h"
#include "player/PlayerProperties.h"
#include "player/ProgressStrip.h"
#include "player/TouchTarget.h"

#include "Foundation/NSNotificationCenter.h"
#include "Foundation/NSString.h"
#include "Foundation/NSTimer.h"
#include "MediaRemote/MediaRemote.h"
#include "SpringBoard/SBDeviceApplicationSceneViewController.h"
#include "UIKit/UIColor.h"
#include "UIKit/UIProgressView.h"

namespace lumetrix {

void (*orig_SBDeviceApplicationSceneViewController_viewDidLoad)(SBDeviceApplicationSceneViewController*, SEL);

namespace {

constexpr double kRefreshInterval = 1.0;

void buildStrip(SBDeviceApplicationSceneViewController* self, UIView* view)
{
    auto strip = makeProgressStrip(UIColor::colorWithRed(0.69, 0.69, 0.69, 1.0).get());
    setProperty<"setProgressView:">(self, strip.get());
    // Under the control row, full until the first refresh.
    placeProgressStrip(strip.get(), view, subView(self)->safeAreaLayoutGuide(), AppHomeBarOffset);
}

// The refresh timer calls updateProgress: on the controller, but holds it weakly: when the
// app closes and SpringBoard lets go of its controller, the timer stops at its next tick
// instead of keeping the controller, its views and a poll a second alive for ever.
void scheduleRefreshTimer(SBDeviceApplicationSceneViewController* self)
{
    objc::WeakPtr<SBDeviceApplicationSceneViewController> weakSelf = self;
    NSTimer::scheduledTimerWithTimeInterval(kRefreshInterval, true, [weakSelf](NSTimer* timer) {
        auto controller = weakSelf.strong();
        if (!controller) {
            timer->invalidate();
            return;
        }
        objc_send<"updateProgress:">(controller.get(), timer);
    });
}

} // namespace

void hook_SBDeviceApplicationSceneViewController_viewDidLoad(SBDeviceApplicationSceneViewController* self, SEL _cmd)
{
    orig_SBDeviceApplicationSceneViewController_viewDidLoad(self, _cmd);

    NSNotificationCenter* center = NSNotificationCenter::defaultCenter();
    center->addObserver(self, "updateMedia"_sel, kMRMediaRemoteNowPlayingInfoDidChangeNotification, nil);
    center->addObserver(self, "playpausenotif"_sel, kMRMediaRemoteNowPlayingApplicationIsPlayingDidChangeNotification, nil);
    center->addObserver(self, "hidemediaplayer:"_sel, "hidemediaplayer"_ns, nil);
    center->addObserver(self, "showmediaplayer:"_sel, "showmediaplayer"_ns, nil);

    UIView* view = self->view();
    buildControlRow(self, view, HideRow::AtCreation);
    buildStrip(self, view);
    scheduleRefreshTimer(self);

    auto target = buildTouchTarget(self, view);
    view->setUserInteractionEnabled(true);
    if (swipetoskip)
        addSwipeRecognizers(target.get(), self);
    addTapRecognizer(target.get(), self);

    objc_send<"playpausenotif">(self);
    objc_send<"updateMedia">(self);
}

} // namespace lumetrix
