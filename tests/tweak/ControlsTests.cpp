// The control row on both players: taps that raise it, zone taps that send commands, the
// dead bands, the shared first-play flag, swipes, and the fade-out.

#include "support/EventRecorder.h"
#include "support/InSpringBoard.h"
#include "support/PlayerAccess.h"

#include "SpringBoard/SBDeviceApplicationSceneViewController.h"
#include "SpringBoard/SBHomeGrabberView.h"

using namespace testing_support;

namespace {

// Boots and brings up one player: the lock screen's, or an app's once unlocked.
id bootToPlayer(sim::SpringBoardSession& session, bool inApp)
{
    session.springBoard().boot();
    id host = lockScreenHost(session.springBoard());
    if (inApp) {
        session.springBoard().unlock();
        host = session.springBoard().openApp(kNotes);
    }
    session.runFor(0);
    return host;
}
}

TEST(Tweak_Controls, ATapRaisesTheRowWithoutACommandAndASecondTapActsByZone)
{
    TemporaryDevice device;
    inSpringBoard(device, [](sim::SpringBoardSession& session) {
        EventRecorder events;
        session.springBoard().boot();
        session.runFor(0);
        id host = lockScreenHost(session.springBoard());
        UIView* target = playerView(host, "previoustapview");
        UIView* row = playerView(host, "subView");
        ASSERT_TRUE(row->isHidden());
        events.clear();

        tapTarget(target, 90);
        EXPECT_FALSE(row->isHidden());
        EXPECT_TRUE(events.commands().empty()) << "raising the row sends nothing";
        EXPECT_EQ(events.sounds(), 1u);
        session.runFor(0.1);
        tapTarget(target, 90);
        EXPECT_EQ(events.commands(), std::vector<int>({ 4 }));
        EXPECT_EQ(events.sounds(), 2u);
    });
}

TEST(Tweak_Controls, ZonesAndSilentDeadBands)
{
    TemporaryDevice device;
    device.writeSettings("<key>alwaysshow</key><true/>");
    inSpringBoard(device, [](sim::SpringBoardSession& session) {
        EventRecorder events;
        session.springBoard().boot();
        session.runFor(0);
        UIView* target = playerView(lockScreenHost(session.springBoard()), "previoustapview");
        events.clear();
        for (double x : { 30.0, 32.0, 35.0, 70.0, 72.0, 75.0 })
            tapTarget(target, x);
        EXPECT_TRUE(events.commands().empty());
        EXPECT_EQ(events.sounds(), 0u) << "the dead bands make no sound";
        for (double x : { 10.0, 50.0, 50.0, 90.0 })
            tapTarget(target, x);
        EXPECT_EQ(events.commands(), std::vector<int>({ 5, 0, 2, 4 })) << "the first centre tap plays, later ones toggle";
        EXPECT_EQ(events.sounds(), 4u);
        EXPECT_TRUE(tweakVariable<bool>("initialStart"));
    });
}

TEST(Tweak_Controls, TheFirstPlayFlagIsSharedByBothPlayers)
{
    TemporaryDevice device;
    device.writeSettings("<key>alwaysshow</key><true/>");
    inSpringBoard(device, [](sim::SpringBoardSession& session) {
        EventRecorder events;
        session.springBoard().boot();
        session.runFor(0);
        tapTarget(playerView(lockScreenHost(session.springBoard()), "previoustapview"), 50);
        session.springBoard().unlock();
        auto app = session.springBoard().openApp(kNotes);
        session.runFor(0);
        tapTarget(playerView(app, "previoustapview"), 50);
        EXPECT_EQ(events.commands(), std::vector<int>({ 0, 2 }));
    });
}

TEST(Tweak_Controls, RowFadesAfterTheRaisingTapWhateverCameBetween)
{
    TemporaryDevice device;
    device.writeSettings("<key>fadeoutspeed</key><string>5.0</string>");
    inSpringBoard(device, [](sim::SpringBoardSession& session) {
        session.springBoard().boot();
        session.runFor(0);
        id host = lockScreenHost(session.springBoard());
        UIView* target = playerView(host, "previoustapview");
        UIView* row = playerView(host, "subView");
        tapTarget(target, 50);
        session.runFor(0.2);
        EXPECT_NEAR(row->presentationAlpha(), 0.2 / static_cast<double>(0.4f), 1e-6) << "fading in";
        for (int i = 0; i < 4; ++i) {
            session.runFor(1.0);
            tapTarget(target, 10);
        }
        session.runFor(0.8); // 5.0 s after the raising tap
        EXPECT_FALSE(row->isHidden());
        session.runFor(0.2);
        EXPECT_NEAR(row->presentationAlpha(), 1.0 - 0.2 / static_cast<double>(0.4f), 1e-6) << "fading out";
        session.runFor(0.21);
        EXPECT_TRUE(row->isHidden());
        EXPECT_TRUE(playerView(host, "labelbg")->isHidden());
    });
}

TEST(Tweak_Controls, AlwaysShownRowNeverFades)
{
    TemporaryDevice device;
    device.writeSettings("<key>alwaysshow</key><true/><key>fadeoutspeed</key><integer>1</integer>");
    inSpringBoard(device, [](sim::SpringBoardSession& session) {
        session.springBoard().boot();
        session.runFor(0);
        id host = lockScreenHost(session.springBoard());
        tapTarget(playerView(host, "previoustapview"), 90);
        session.runFor(60);
        EXPECT_FALSE(playerView(host, "subView")->isHidden());
        EXPECT_DOUBLE_EQ(playerView(host, "subView")->presentationAlpha(), 1.0);
    });
}

TEST(Tweak_Controls, SwipesSkipInEveryStateAndLeaveTheRowAlone)
{
    TemporaryDevice device;
    device.writeSettings("<key>swipetoskip</key><true/>");
    inSpringBoard(device, [](sim::SpringBoardSession& session) {
        EventRecorder events;
        session.springBoard().boot();
        session.runFor(0);
        id host = lockScreenHost(session.springBoard());
        UIView* target = playerView(host, "previoustapview");
        events.clear();
        swipeTarget(target, SwipeDirection::Left);
        EXPECT_TRUE(playerView(host, "subView")->isHidden());
        tapTarget(target, 50);
        swipeTarget(target, SwipeDirection::Right);
        auto commands = events.ofType("command");
        ASSERT_EQ(commands.size(), 2u);
        EXPECT_EQ(commands[0]["command"], 18);
        EXPECT_EQ(commands[1]["command"], 17);
        EXPECT_EQ(commands[0]["options"]["kMRMediaRemoteOptionSkipInterval"], 15);
        EXPECT_EQ(events.ofType("log").size(), 2u);
        EXPECT_EQ(events.ofType("log")[0]["text"], "KAKAPIPI HALLL ");
        EXPECT_EQ(events.sounds(), 3u);
    });
}

TEST(Tweak_Controls, GlyphAndTitleFollowThePlayer)
{
    TemporaryDevice device;
    device.writeSettings("<key>alwaysshow</key><true/>");
    double start = sim::SpringBoardProcess::kDefaultStartTime;
    inSpringBoard(device, [](sim::SpringBoardSession& session) {
        session.springBoard().boot();
        session.runFor(0);
        id host = lockScreenHost(session.springBoard());
        UIView* target = playerView(host, "previoustapview");
        EXPECT_EQ(symbolOf(playerView(host, "pauseicon")), "play.fill") << "as built, until the catch-up a tenth later";
        session.runFor(0.1);
        EXPECT_EQ(symbolOf(playerView(host, "pauseicon")), "pause.fill");
        tapTarget(target, 50); // the first centre tap, while playing: pauses
        session.runFor(0.05);
        EXPECT_EQ(symbolOf(playerView(host, "pauseicon")), "pause.fill") << "the glyph follows 0.1 s after the change";
        session.runFor(0.06);
        EXPECT_EQ(symbolOf(playerView(host, "pauseicon")), "play.fill");
        tapTarget(target, 50); // toggle: plays again
        session.runFor(0.11);
        EXPECT_EQ(symbolOf(playerView(host, "pauseicon")), "pause.fill");
        ASSERT_TRUE(playerView<UILabel>(host, "label")->text());
        EXPECT_EQ(playerView<UILabel>(host, "label")->text()->string(), "Song - Band");
    }, playingTrack(200, start));
}

TEST(Tweak_Controls, TheFirstCentreTapWhileMusicPlaysPausesItOnEitherPlayer)
{
    for (bool inApp : { false, true }) {
        SCOPED_TRACE(inApp ? "in an app" : "on the lock screen");
        TemporaryDevice device;
        device.writeSettings("<key>alwaysshow</key><true/>");
        double start = sim::SpringBoardProcess::kDefaultStartTime;
        inSpringBoard(device, [inApp](sim::SpringBoardSession& session) {
            EventRecorder events;
            id host = bootToPlayer(session, inApp);
            events.clear();
            tapTarget(playerView(host, "previoustapview"), 50);
            EXPECT_EQ(events.commands(), std::vector<int>({ 2 })) << "a toggle, not a play that changes nothing";
            session.runFor(0);
            EXPECT_FALSE(session.nowPlaying().isPlaying());
            EXPECT_TRUE(tweakVariable<bool>("initialStart")) << "the tap still counts as the first";
            tapTarget(playerView(host, "previoustapview"), 50);
            EXPECT_EQ(events.commands(), std::vector<int>({ 2, 2 }));
            session.runFor(0);
            EXPECT_TRUE(session.nowPlaying().isPlaying());
        }, playingTrack(200, start));
    }
}

TEST(Tweak_Controls, ARowRaisedAgainAfterAnEarlyHideStaysItsFullTime)
{
    // In an app a hide request takes the row away early; on the lock screen a dismissal
    // that did not come from the row's own timer does.
    for (bool inApp : { true, false }) {
        SCOPED_TRACE(inApp ? "in an app" : "on the lock screen");
        TemporaryDevice device;
        device.writeSettings("<key>fadeoutspeed</key><string>5</string>");
        inSpringBoard(device, [inApp](sim::SpringBoardSession& session) {
            id host = bootToPlayer(session, inApp);
            UIView* target = playerView(host, "previoustapview");
            UIView* row = playerView(host, "subView");
            tapTarget(target, 50); // up at 0 s, its fade-out due at 5 s
            session.runFor(1.0);
            if (inApp) {
                session.springBoard().frontHomeGrabber()->attentionLost(2.0);
            } else {
                objc_msgSend(host, "dismissControls:"_sel, static_cast<id>(nullptr));
            }
            session.runFor(2.0);
            ASSERT_TRUE(row->isHidden());
            tapTarget(target, 50); // up again at 3 s: stays until 8 s
            session.runFor(4.9);
            EXPECT_FALSE(row->isHidden());
            EXPECT_DOUBLE_EQ(row->presentationAlpha(), 1.0) << "the first tap's timer no longer fades it";
            session.runFor(0.1 + 0.41);
            EXPECT_TRUE(row->isHidden());
        });
    }
}

TEST(Tweak_Controls, FadeOutSecondsThatAreNoNumberNeitherHangNorSpin)
{
    for (const char* value : { "<real>nan</real>", "<real>-3</real>", "<string>0</string>", "<string>1e999</string>" }) {
        SCOPED_TRACE(value);
        TemporaryDevice device;
        device.writeSettings(std::string("<key>fadeoutspeed</key>") + value);
        inSpringBoard(device, [](sim::SpringBoardSession& session) {
            session.springBoard().boot();
            session.runFor(0);
            id host = lockScreenHost(session.springBoard());
            tapTarget(playerView(host, "previoustapview"), 50);
            session.runFor(3600);
            EXPECT_TRUE(session.runLoop().pendingTaskCount() < 100u);
        });
    }
}

TEST(Tweak_Controls, InAppSwipesWhileShownAndFadingKeepTheFadeOnTime)
{
    TemporaryDevice device;
    device.writeSettings("<key>swipetoskip</key><true/><key>fadeoutspeed</key><string>2</string>");
    inSpringBoard(device, [](sim::SpringBoardSession& session) {
        EventRecorder events;
        session.springBoard().boot();
        session.springBoard().unlock();
        auto app = session.springBoard().openApp(kNotes);
        session.runFor(0);
        UIView* target = playerView(app, "previoustapview");
        UIView* row = playerView(app, "subView");
        tapTarget(target, 50);
        session.runFor(1.0);
        events.clear();
        swipeTarget(target, SwipeDirection::Left); // shown
        session.runFor(1.2);
        EXPECT_LT(row->presentationAlpha(), 1.0) << "fading out";
        swipeTarget(target, SwipeDirection::Right); // disappearing
        EXPECT_EQ(events.commands(), std::vector<int>({ 18, 17 }));
        session.runFor(0.21);
        EXPECT_TRUE(row->isHidden()) << "hidden 0.4 s after the fade began, swipes or not";
    });
}
