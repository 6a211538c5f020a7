// The in-app player: the tree every app's scene gets, where it lands, its strip, hiding
// and showing with the home grabber, and its lifetime with the app.

#include "support/EventRecorder.h"
#include "support/InSpringBoard.h"
#include "support/PlayerAccess.h"

#include "SpringBoard/SBDeviceApplicationSceneViewController.h"
#include "SpringBoard/SBHomeGrabberView.h"

using namespace testing_support;

namespace {
}

TEST(Tweak_InAppTree, ChildrenVisibilityAndRecognizerOrderFollowTheSettings)
{
    struct Case {
        const char* settings;
        bool alwaysshow;
        bool swipetoskip;
    };
    for (Case c : { Case { "", false, false }, Case { "<key>alwaysshow</key><true/><key>swipetoskip</key><true/>", true, true } }) {
        SCOPED_TRACE(c.settings);
        TemporaryDevice device;
        device.writeSettings(c.settings);
        inSpringBoard(device, [&](sim::SpringBoardSession& session) {
            session.springBoard().boot();
            session.springBoard().unlock();
            auto app = session.springBoard().openApp(kNotes);
            UIView* view = app->view();
            UIView* row = playerView(app, "subView");
            auto strip = playerView<UIProgressView>(app, "progressView");
            UIView* target = playerView(app, "previoustapview");
            ASSERT_TRUE(row && strip && target);
            EXPECT_EQ(row->isHidden(), !c.alwaysshow);
            EXPECT_EQ(playerView(app, "label")->isHidden(), !c.alwaysshow);
            EXPECT_EQ(playerView(app, "labelbg")->isHidden(), !c.alwaysshow);
            EXPECT_FALSE(strip->isHidden());
            EXPECT_EQ(view->subviews().back().get(), target) << "the touch target is front-most";
            std::vector<std::string> expected = { "tapGesture:" };
            if (c.swipetoskip)
                expected = { "swipeleft:", "swiperight:", "tapGesture:" };
            EXPECT_EQ(recognizerActions(target), expected);
            EXPECT_FLOAT_EQ(strip->progress(), 1.0f) << "full until the first tick";
            CGFloat r, g, b, a;
            strip->trackTintColor()->getRed(&r, &g, &b, &a);
            EXPECT_NEAR(r, 0.69, 1e-9);
            EXPECT_EQ(strip->progressTintColor()->systemName(), "whiteColor");
        });
    }
}

TEST(Tweak_InAppLayout, RowStripAndTargetOnTheDefaultDevice)
{
    TemporaryDevice device;
    device.writeSettings("<key>barwidth</key><string>120</string>");
    inSpringBoard(device, [](sim::SpringBoardSession& session) {
        session.springBoard().boot();
        session.springBoard().unlock();
        auto app = session.springBoard().openApp(kNotes);
        session.runFor(0);
        CGRect row = playerView(app, "subView")->frameInScreen();
        CGRect strip = playerView(app, "progressView")->frameInScreen();
        CGRect target = playerView(app, "previoustapview")->frameInScreen();
        EXPECT_TRUE(CGRectEqualToRect(row, CGRectMake(137.5, 773, 100, 20)));
        // The row reaches 15 points into the bottom unsafe band (778...): its guide is the
        // 5 points above, centred at 775.5, and the strip sits 25 points below that.
        EXPECT_DOUBLE_EQ(CGRectGetMidY(strip), 800.5);
        EXPECT_DOUBLE_EQ(CGRectGetWidth(strip), 120.0);
        EXPECT_TRUE(CGRectEqualToRect(target, CGRectMake(137.5, 763, 100, 40)));
    });
}

TEST(Tweak_InAppStrip, RefreshesFromElapsedTimeAndTimestamp)
{
    TemporaryDevice device;
    double start = sim::SpringBoardProcess::kDefaultStartTime;
    auto application = playingTrack(200, start);
    application.seek(1.5, start);
    inSpringBoard(device, [](sim::SpringBoardSession& session) {
        session.springBoard().boot();
        session.springBoard().unlock();
        auto app = session.springBoard().openApp(kNotes);
        auto strip = playerView<UIProgressView>(app, "progressView");
        session.runFor(10);
        // (1.5 + 10) / 200
        EXPECT_NEAR(strip->progress(), 0.0575, 1e-6);
    }, std::move(application));
}

TEST(Tweak_InAppLifetime, ClosingAnAppReleasesItsControllerAndStopsItsTimer)
{
    TemporaryDevice device;
    inSpringBoard(device, [](sim::SpringBoardSession& session) {
        session.springBoard().boot();
        session.springBoard().unlock();
        session.runFor(3.5); // the lock-screen strip and its timer are built by now
        std::size_t timersBefore = NSTimer::liveTimerCount();
        objc::WeakPtr<SBDeviceApplicationSceneViewController> weakApp = session.springBoard().openApp(kNotes);
        session.runFor(2.5);
        EXPECT_EQ(NSTimer::liveTimerCount(), timersBefore + 1);
        ASSERT_TRUE(session.springBoard().closeApp(kNotes));
        session.runFor(1.0);
        EXPECT_FALSE(weakApp.get()) << "nothing keeps a closed app's controller alive";
        EXPECT_EQ(NSTimer::liveTimerCount(), timersBefore) << "its refresh timer stopped";
    });
}

TEST(Tweak_InAppVisibility, GrabberIdleHidesThePlayerAndAttentionBringsTheStripBack)
{
    TemporaryDevice device;
    device.writeSettings("<key>alwaysshow</key><true/>");
    inSpringBoard(device, [](sim::SpringBoardSession& session) {
        EventRecorder events;
        session.springBoard().boot();
        session.springBoard().unlock();
        auto app = session.springBoard().openApp(kNotes);
        UIView* row = playerView(app, "subView");
        UIView* strip = playerView(app, "progressView");
        events.clear();
        session.springBoard().frontHomeGrabber()->attentionLost(2.0);
        // The log line comes before the hide request.
        auto all = events.events();
        ASSERT_GE(all.size(), 2u);
        EXPECT_EQ(all[0]["type"], "log");
        EXPECT_EQ(all[0]["text"], "KAKASTRONT 2.00000000000000000000");
        EXPECT_EQ(all[1]["name"], "hidemediaplayer");
        session.runFor(1.25);
        EXPECT_FALSE(row->isHidden());
        EXPECT_NEAR(row->presentationAlpha(), 0.5, 1e-9) << "half-way through the 0.5 s fade";
        session.runFor(0.25);
        EXPECT_TRUE(row->isHidden());
        EXPECT_TRUE(strip->isHidden());

        session.springBoard().frontHomeGrabber()->attentionReset();
        session.runFor(0.5);
        EXPECT_FALSE(strip->isHidden());
        EXPECT_TRUE(row->isHidden()) << "a hidden row comes back only through a tap";
    });
}

TEST(Tweak_InAppVisibility, AttentionBackBeforeThePlayerIsHiddenKeepsItShown)
{
    // The show comes before the delayed hide has started, or while its fade runs.
    for (double showAfter : { 0.5, 1.25 }) {
        SCOPED_TRACE(showAfter);
        TemporaryDevice device;
        device.writeSettings("<key>alwaysshow</key><true/>");
        inSpringBoard(device, [showAfter](sim::SpringBoardSession& session) {
            session.springBoard().boot();
            session.springBoard().unlock();
            auto app = session.springBoard().openApp(kNotes);
            UIView* row = playerView(app, "subView");
            UIView* strip = playerView(app, "progressView");
            session.runFor(1.0);
            session.springBoard().frontHomeGrabber()->attentionLost(2.0);
            session.runFor(showAfter);
            session.springBoard().frontHomeGrabber()->attentionReset();
            session.runFor(2.0);
            for (UIView* view : { row, strip, static_cast<UIView*>(playerView(app, "label")) }) {
                EXPECT_FALSE(view->isHidden());
                EXPECT_DOUBLE_EQ(view->presentationAlpha(), 1.0);
            }
            EXPECT_FALSE(playerView(app, "labelbg")->isHidden());
        });
    }
}

TEST(Tweak_InAppVisibility, AttentionBackOnAPlayerFullyShownLeavesItAsItIs)
{
    for (bool alwaysshow : { true, false }) {
        SCOPED_TRACE(alwaysshow ? "row shown" : "row hidden, strip shown");
        TemporaryDevice device;
        device.writeSettings(alwaysshow ? "<key>alwaysshow</key><true/>" : "");
        inSpringBoard(device, [alwaysshow](sim::SpringBoardSession& session) {
            session.springBoard().boot();
            session.springBoard().unlock();
            auto app = session.springBoard().openApp(kNotes);
            UIView* row = playerView(app, "subView");
            UIView* strip = playerView(app, "progressView");
            session.runFor(1.0);
            session.springBoard().frontHomeGrabber()->attentionReset();
            EXPECT_DOUBLE_EQ(strip->alpha(), 1.0) << "no jump to transparent";
            session.runFor(0.25);
            EXPECT_DOUBLE_EQ(strip->presentationAlpha(), 1.0) << "no fade back in";
            EXPECT_FALSE(strip->isHidden());
            EXPECT_EQ(row->isHidden(), !alwaysshow);
            if (alwaysshow) {
                EXPECT_DOUBLE_EQ(row->presentationAlpha(), 1.0);
            }
        });
    }
}

TEST(Tweak_Grabber, BounceDoesNothing)
{
    TemporaryDevice device;
    inSpringBoard(device, [](sim::SpringBoardSession& session) {
        session.springBoard().boot();
        session.springBoard().openApp(kNotes);
        SBHomeGrabberView* grabber = session.springBoard().frontHomeGrabber();
        grabber->bounce();
        EXPECT_EQ(grabber->bounceCount(), 0u) << "SpringBoard's own bounce never ran";
    });
}
