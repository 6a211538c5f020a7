#pragma once
// Reaching a loaded tweak's player views from a test, through the properties it added,
// as any code in SpringBoard would.

#include "Foundation/NSArray.h"
#include "Foundation/NSTimer.h"
#include "MediaRemote/NowPlayingApplication.h"
#include "SpringBoard/CSHomeAffordanceViewController.h"
#include "SpringBoard/SBDeviceApplicationSceneViewController.h"
#include "SpringBoard/SpringBoard.h"
#include "UIKit/UIGestureRecognizer.h"
#include "UIKit/UIImage.h"
#include "UIKit/UIImageView.h"
#include "UIKit/UILabel.h"
#include "UIKit/UIProgressView.h"
#include "UIKit/UIView.h"

#include <dlfcn.h>
#include <string>
#include <vector>

namespace testing_support {

// The bundle identifier of the app the tests open in front of SpringBoard.
inline constexpr const char* kNotes = "com.example.notes";

template<typename T = UIView>
T* playerView(id host, const char* property)
{
    return static_cast<T*>(objc_msgSend<id>(host, sel_registerName(property)));
}

inline id lockScreenHost(SpringBoard& springBoard)
{
    return springBoard.homeAffordanceController();
}

// Both players' strips, laid out: SpringBoard boots, the lock-screen strip is built (3 s
// after boot), the phone unlocks and the notes app opens with its own.
struct BothStrips {
    SBDeviceApplicationSceneViewController* app;
    UIProgressView* lockScreen;
    UIProgressView* inApp;
};

template<typename Session>
BothStrips bootToBothStrips(Session& session)
{
    SpringBoard& springBoard = session.springBoard();
    springBoard.boot();
    session.runFor(3.0);
    springBoard.unlock();
    auto app = springBoard.openApp(kNotes);
    session.runFor(0);
    springBoard.layoutWindows();
    return { app, playerView<UIProgressView>(springBoard.homeAffordanceController()->homeAffordanceView(), "progressView"), playerView<UIProgressView>(app, "progressView") };
}

template<typename T>
T& tweakVariable(const char* name)
{
    return *static_cast<T*>(dlsym(RTLD_DEFAULT, name));
}

inline std::vector<std::string> recognizerActions(UIView* view)
{
    std::vector<std::string> actions;
    for (auto& recognizer : view->gestureRecognizers())
        actions.push_back(recognizer->actionName());
    return actions;
}

inline std::string symbolOf(UIView* view)
{
    auto image = static_cast<UIImageView*>(view)->image();
    return image ? image->symbolName() : std::string();
}

inline platform::NowPlayingApplication playingTrack(double duration, double startTime)
{
    platform::NowPlayingApplication application;
    platform::NowPlayingTrack track;
    track.title = "Song";
    track.artist = "Band";
    track.duration = duration;
    application.appendTrack(track, startTime);
    application.play(startTime);
    return application;
}

} // namespace testing_support

#include "UIKit/UITouchDelivery.h"

namespace testing_support {

// A tap at `x` points across a player's touch target, at its vertical middle, delivered
// to whatever the screen has in front at that point.
inline void tapTarget(UIView* target, double x)
{
    CGRect frame = target->frameInScreen();
    UITouchDelivery::tapScreen(CGPointMake(frame.origin.x + x, CGRectGetMidY(frame)));
}

enum class SwipeDirection {
    Left,
    Right
};
inline void swipeTarget(UIView* target, SwipeDirection direction)
{
    CGRect frame = target->frameInScreen();
    double y = CGRectGetMidY(frame);
    double left = frame.origin.x + 10;
    double right = CGRectGetMaxX(frame) - 10;
    if (direction == SwipeDirection::Left)
        UITouchDelivery::swipeScreen(CGPointMake(right, y), CGPointMake(left, y));
    else
        UITouchDelivery::swipeScreen(CGPointMake(left, y), CGPointMake(right, y));
}

} // namespace testing_support
