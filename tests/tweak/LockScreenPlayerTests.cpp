// The lock-screen player as SpringBoard builds it with the tweak loaded: its view tree,
// where it lands on the default device, and the strip in the home bar.

#include "support/InSpringBoard.h"
#include "support/PlayerAccess.h"

#include "SpringBoard/CSCoverSheetView.h"
#include "SpringBoard/CSHomeAffordanceView.h"
#include "SpringBoard/MTLumaDodgePillView.h"
#include "SpringBoard/SBMainSwitcherWindow.h"
#include "MaterialKit/MTMaterialView.h"
#include "QuartzCore/CALayer.h"

#include <cmath>

using namespace testing_support;

namespace {

struct TreeCase {
    const char* settings;
    bool alwaysshow;
    bool songtitlebg;
    bool swipetoskip;
};

} // namespace

TEST(Tweak_LockScreenTree, ChildrenOrderVisibilityAndRecognizersFollowTheSettings)
{
    for (TreeCase c : { TreeCase { "", false, false, false },
             TreeCase { "<key>alwaysshow</key><true/><key>songtitlebg</key><true/><key>swipetoskip</key><true/>", true, true, true } }) {
        SCOPED_TRACE(c.settings);
        TemporaryDevice device;
        device.writeSettings(c.settings);
        inSpringBoard(device, [&](sim::SpringBoardSession& session) {
            SpringBoard& springBoard = session.springBoard();
            springBoard.boot();
            id host = lockScreenHost(springBoard);
            UIView* row = playerView(host, "subView");
            UIView* backdrop = playerView(host, "labelbg");
            UILabel* title = playerView<UILabel>(host, "label");
            UIView* target = playerView(host, "previoustapview");
            ASSERT_TRUE(row && backdrop && title && target);

            UIView* view = springBoard.homeAffordanceController()->view();
            EXPECT_EQ(row->superview(), view);
            EXPECT_EQ(backdrop->superview(), view);
            EXPECT_EQ(target->superview(), springBoard.coverSheetView()) << "the touch target sits on the cover sheet";
            EXPECT_EQ(row->isHidden(), !c.alwaysshow);
            EXPECT_EQ(title->isHidden(), !c.alwaysshow);
            EXPECT_EQ(backdrop->isHidden(), !c.alwaysshow);
            EXPECT_FALSE(target->isHidden());

            // The row: backdrop, previous, next, play/pause.
            ASSERT_EQ(row->subviews().size(), 4u);
            EXPECT_TRUE(objc_cast<MTMaterialView>(row->subviews()[0].get()));
            EXPECT_EQ(row->subviews()[1].get(), playerView(host, "previousicon"));
            EXPECT_EQ(row->subviews()[3].get(), playerView(host, "pauseicon"));
            EXPECT_DOUBLE_EQ(row->layer()->cornerRadius(), 7.0);
            EXPECT_TRUE(row->layer()->masksToBounds());

            // The label's blur only with songtitlebg.
            ASSERT_EQ(backdrop->subviews().size(), c.songtitlebg ? 2u : 1u);
            EXPECT_EQ(backdrop->subviews().back().get(), title);
            if (c.songtitlebg) {
                EXPECT_NEAR(backdrop->subviews()[0]->alpha(), 0.8999999999976568, 1e-15);
            }

            std::vector<std::string> expected = { "tapGesture:" };
            if (c.swipetoskip)
                expected = { "tapGesture:", "swipeleft:", "swiperight:" };
            EXPECT_EQ(recognizerActions(target), expected);
        });
    }
}

TEST(Tweak_LockScreenTree, GlyphsShowTheirSymbolsTurnedAndSpaced)
{
    TemporaryDevice device;
    inSpringBoard(device, [](sim::SpringBoardSession& session) {
        session.springBoard().boot();
        id host = lockScreenHost(session.springBoard());
        UIView* row = playerView(host, "subView");
        UIView* previous = row->subviews()[1].get();
        UIView* next = row->subviews()[2].get();
        UIView* playPause = row->subviews()[3].get();
        EXPECT_EQ(symbolOf(previous), "forward.fill");
        EXPECT_EQ(symbolOf(next), "forward.fill");
        EXPECT_EQ(symbolOf(playPause), "play.fill");
        EXPECT_DOUBLE_EQ(static_cast<UIImageView*>(next)->image()->symbolPointSize(), 13.0);
        // Half a turn: cos π = -1.
        EXPECT_NEAR(previous->transform().a, -1.0, 1e-12);
        EXPECT_NEAR(next->transform().a, 1.0, 1e-12);
        CGRect p = previous->frameInScreen();
        CGRect n = next->frameInScreen();
        CGRect c = playPause->frameInScreen();
        EXPECT_NEAR(CGRectGetMidX(c) - CGRectGetMidX(p), 30.0, 1e-9);
        EXPECT_NEAR(CGRectGetMidX(n) - CGRectGetMidX(c), 30.0, 1e-9);
        EXPECT_NEAR(CGRectGetWidth(c), 5.0, 1e-9);
    });
}

TEST(Tweak_LockScreenLayout, StandardAndCompanionSetsPlaceRowTargetAndStrip)
{
    struct LayoutCase {
        bool companion;
        CGRect row;
        CGRect target;
        double stripCentreY;
    };
    // Default device: 375 x 812, safe area bottom at 778; the home bar band is the
    // bottom 21 points (791...812), whose safe-area guide is empty at its top edge.
    for (LayoutCase c : { LayoutCase { false, CGRectMake(137.5, 773, 100, 20), CGRectMake(137.5, 763, 100, 40), 801 },
             LayoutCase { true, CGRectMake(137.5, 738, 100, 20), CGRectMake(137.5, 728, 100, 40), 786 } }) {
        SCOPED_TRACE(c.companion ? "companion" : "standard");
        TemporaryDevice device;
        if (c.companion)
            device.root().writeFile("/Library/MobileSubstrate/DynamicLibraries/Brevo11UIKit.dylib", "");
        inSpringBoard(device, [&](sim::SpringBoardSession& session) {
            SpringBoard& springBoard = session.springBoard();
            springBoard.boot();
            session.runFor(3.0);
            springBoard.layoutWindows();
            id host = lockScreenHost(springBoard);
            CGRect row = playerView(host, "subView")->frameInScreen();
            CGRect target = playerView(host, "previoustapview")->frameInScreen();
            EXPECT_TRUE(CGRectEqualToRect(row, c.row)) << row.origin.x << "," << row.origin.y << " " << row.size.width << "x" << row.size.height;
            EXPECT_TRUE(CGRectEqualToRect(target, c.target)) << target.origin.x << "," << target.origin.y;
            UIView* strip = playerView(springBoard.homeAffordanceController()->homeAffordanceView(), "progressView");
            ASSERT_TRUE(strip);
            CGRect stripFrame = strip->frameInScreen();
            EXPECT_DOUBLE_EQ(CGRectGetMidY(stripFrame), c.stripCentreY);
            EXPECT_DOUBLE_EQ(CGRectGetWidth(stripFrame), 140.0);
            EXPECT_DOUBLE_EQ(CGRectGetHeight(stripFrame), 5.0);
            EXPECT_DOUBLE_EQ(CGRectGetMidX(stripFrame), 187.5);
        });
    }
}

TEST(Tweak_LockScreenStrip, BuiltThreeSecondsLaterFullUntilTheFirstTickThenFollowsPlayback)
{
    TemporaryDevice device;
    double start = sim::SpringBoardProcess::kDefaultStartTime;
    inSpringBoard(device, [](sim::SpringBoardSession& session) {
        SpringBoard& springBoard = session.springBoard();
        springBoard.boot();
        CSHomeAffordanceView* bar = springBoard.homeAffordanceController()->homeAffordanceView();
        session.runFor(2.9);
        EXPECT_EQ(playerView(bar, "progressView"), nullptr);
        session.runFor(0.1);
        auto strip = playerView<UIProgressView>(bar, "progressView");
        ASSERT_TRUE(strip);
        EXPECT_FLOAT_EQ(strip->progress(), 1.0f) << "100 pinned to full";
        EXPECT_EQ(strip->progressViewStyle(), UIProgressViewStyleBar);
        EXPECT_EQ(strip->trackTintColor()->systemName(), "clearColor");
        auto& homeFrame = tweakVariable<CGRect>("HomeFrame");
        EXPECT_TRUE(CGRectEqualToRect(homeFrame, bar->frame()));

        // Playing since the start of the run (elapsed sampled at 0 counts as none):
        // after the first tick at 4 s the strip shows 4 / 200.
        session.runFor(1.0);
        EXPECT_NEAR(strip->progress(), 4.0 / 200.0, 1e-6);

        // Paused: the strip keeps its value.
        session.nowPlaying().pause(session.now());
        float kept = strip->progress();
        session.runFor(5.0);
        EXPECT_FLOAT_EQ(strip->progress(), kept);

        // The pill stays hidden and the bar's own pill colour clear after layout.
        springBoard.layoutWindows();
        EXPECT_TRUE(bar->pillView()->isHidden());
    }, playingTrack(200, start));
}

TEST(Tweak_LockScreenStrip, ANewStaticAffordanceReplacesTheStripAndItsTimer)
{
    TemporaryDevice device;
    inSpringBoard(device, [](sim::SpringBoardSession& session) {
        SpringBoard& springBoard = session.springBoard();
        springBoard.boot();
        session.runFor(3.0);
        CSHomeAffordanceView* bar = springBoard.homeAffordanceController()->homeAffordanceView();
        std::size_t timers = NSTimer::liveTimerCount();
        UIView* first = playerView(bar, "progressView");
        bar->createStaticHomeAffordance();
        session.runFor(3.0);
        UIView* second = playerView(bar, "progressView");
        EXPECT_NE(first, second);
        EXPECT_EQ(second->superview(), bar);
        std::size_t strips = 0;
        for (auto& child : bar->subviews())
            strips += objc_cast<UIProgressView>(child.get()) ? 1 : 0;
        EXPECT_EQ(strips, 1u) << "the old strip left the tree";
        EXPECT_EQ(NSTimer::liveTimerCount(), timers) << "the old strip's refresh timer stopped";
    });
}

TEST(Tweak_Capture, ALaterCoverSheetReplacesTheFirstInRootwindow)
{
    TemporaryDevice device;
    inSpringBoard(device, [](sim::SpringBoardSession& session) {
        session.springBoard().boot();
        auto& rootwindow = tweakVariable<CSCoverSheetView*>("rootwindow");
        EXPECT_EQ(rootwindow, session.springBoard().coverSheetView());
        auto second = CSCoverSheetView::alloc();
        second->initWithFrame(CGRectMake(0, 0, 375, 812));
        EXPECT_EQ(rootwindow, second.get());
        EXPECT_EQ(second->retainCount(), 2u) << "rootwindow holds a strong reference";
        auto& appwindow = tweakVariable<UIView*>("appwindow");
        EXPECT_EQ(appwindow, static_cast<UIView*>(session.springBoard().switcherWindow()));
    });
}

TEST(Tweak_LockScreenCatchUp, BuiltWhileMusicPlaysTheRowShowsTheTitleAndTheGlyphFollowsATenthLater)
{
    for (bool playing : { true, false }) {
        SCOPED_TRACE(playing ? "playing at boot" : "paused at boot");
        TemporaryDevice device;
        device.writeSettings("<key>alwaysshow</key><true/>");
        double start = sim::SpringBoardProcess::kDefaultStartTime;
        auto application = playingTrack(200, start);
        if (!playing)
            application.pause(start);
        inSpringBoard(device, [playing](sim::SpringBoardSession& session) {
            session.springBoard().boot();
            session.runFor(0);
            id host = lockScreenHost(session.springBoard());
            auto title = playerView<UILabel>(host, "label");
            ASSERT_TRUE(title->text()) << "the label is filled without waiting for a change";
            EXPECT_EQ(title->text()->string(), "Song - Band");
            EXPECT_EQ(symbolOf(playerView(host, "pauseicon")), "play.fill");
            session.runFor(0.1);
            EXPECT_EQ(symbolOf(playerView(host, "pauseicon")), playing ? "pause.fill" : "play.fill");
        }, std::move(application));
    }
}

TEST(Tweak_LockScreenStrip, PausedTrackShowsWhereItStandsAndNoRecordLeavesTheStripFull)
{
    struct Case {
        const char* story;
        double duration; // 0 with no track at all
        bool hasTrack;
        double pausedAt;
        float expected;
    };
    for (Case c : { Case { "paused at 28 s of 200", 200, true, 28, 0.14f }, Case { "paused at 0.5 s counts as none", 200, true, 0.5, 0.0f },
             Case { "paused, no duration", 0, true, 28, 0.0f }, Case { "no record", 0, false, 0, 1.0f } }) {
        SCOPED_TRACE(c.story);
        TemporaryDevice device;
        double start = sim::SpringBoardProcess::kDefaultStartTime;
        platform::NowPlayingApplication application;
        if (c.hasTrack) {
            application = playingTrack(c.duration, start);
            application.pause(start);
            application.seek(c.pausedAt, start);
        }
        inSpringBoard(device, [c](sim::SpringBoardSession& session) {
            SpringBoard& springBoard = session.springBoard();
            springBoard.boot();
            session.runFor(3.0);
            auto strip = playerView<UIProgressView>(springBoard.homeAffordanceController()->homeAffordanceView(), "progressView");
            ASSERT_TRUE(strip);
            EXPECT_FLOAT_EQ(strip->progress(), 1.0f) << "full until the first tick";
            session.runFor(1.0);
            EXPECT_NEAR(strip->progress(), c.expected, 1e-6);
            session.runFor(30.0);
            EXPECT_NEAR(strip->progress(), c.expected, 1e-6) << "a paused playhead does not move";
            if (c.hasTrack && c.duration > 0) {
                // Playing on from where it stood.
                session.nowPlaying().play(session.now());
                session.runFor(10.0);
                EXPECT_NEAR(strip->progress(), ((c.pausedAt > 1.0 ? c.pausedAt : 0.0) + 10.0) / 200, 1e-6);
            }
        }, std::move(application));
    }
}
