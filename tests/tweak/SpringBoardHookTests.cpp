// What the tweak changes around the players: the lock screen's own media controls, the
// call-to-action label, the pill, the home grabber's attention events, and the colour
// broadcast on every now-playing change.

#include "support/EventRecorder.h"
#include "support/InSpringBoard.h"
#include "support/PlayerAccess.h"
#include "support/TestImages.h"

#include "SpringBoard/CSCoverSheetView.h"
#include "SpringBoard/CSHomeAffordanceView.h"
#include "SpringBoard/CSNowPlayingController.h"
#include "SpringBoard/CSTeachableMomentsContainerView.h"
#include "SpringBoard/MTLumaDodgePillView.h"
#include "SpringBoard/SBDeviceApplicationSceneViewController.h"
#include "SpringBoard/SBHomeGrabberView.h"

using namespace testing_support;

namespace {

platform::NowPlayingApplication twoTracksWithArtwork()
{
    double start = sim::SpringBoardProcess::kDefaultStartTime;
    platform::NowPlayingApplication application;
    for (RGBA colour : { RGBA { 10, 20, 30, 255 }, RGBA { 90, 180, 45, 255 } }) {
        platform::NowPlayingTrack track;
        track.title = "Song";
        track.duration = 120;
        track.artwork = solidPNG(6, 6, colour);
        application.appendTrack(track, start);
    }
    application.play(start);
    return application;
}

std::vector<nlohmann::json> colourNotifications(const EventRecorder& events)
{
    std::vector<nlohmann::json> found;
    for (auto& event : events.ofType("notification")) {
        if (event["name"] == "updateColourSB" || event["name"] == "UpdateHomeSB")
            found.push_back(event);
    }
    return found;
}

} // namespace

TEST(Tweak_Hooks, HiddenLockScreenPlayerNeverReachesTheCoverSheetAndTheSettingIsReadAtEachRequest)
{
    TemporaryDevice device;
    device.writeSettings("<key>hidelsplayer</key><true/>");
    inSpringBoard(device, [](sim::SpringBoardSession& session) {
        SpringBoard& springBoard = session.springBoard();
        springBoard.boot();
        EXPECT_EQ(springBoard.mediaControls(), nullptr);
        EXPECT_EQ(springBoard.nowPlayingController()->answeredRequests(), 0u) << "SpringBoard's own answer never ran";

        tweakVariable<bool>("hidelsplayer") = false;
        springBoard.unlock();
        springBoard.lock();
        EXPECT_NE(springBoard.mediaControls(), nullptr);
        EXPECT_EQ(springBoard.nowPlayingController()->answeredRequests(), 1u);

        tweakVariable<bool>("hidelsplayer") = true;
        springBoard.unlock();
        springBoard.lock();
        EXPECT_EQ(springBoard.mediaControls(), nullptr) << "taken off the cover sheet at the next request";
        EXPECT_EQ(springBoard.nowPlayingController()->answeredRequests(), 1u);
    });
}

TEST(Tweak_Hooks, CallToActionAndPillStayHiddenAfterEveryLayout)
{
    TemporaryDevice device;
    inSpringBoard(device, [](sim::SpringBoardSession& session) {
        SpringBoard& springBoard = session.springBoard();
        springBoard.boot();
        session.runFor(0);
        UILabel* callToAction = springBoard.coverSheetView()->teachableMomentsContainerView()->callToActionLabel();
        MTLumaDodgePillView* pill = springBoard.homeAffordanceController()->homeAffordanceView()->pillView();
        ASSERT_TRUE(callToAction && pill);
        for (int pass = 0; pass < 2; ++pass) {
            EXPECT_TRUE(callToAction->isHidden());
            EXPECT_TRUE(pill->isHidden());
            // Something shows them again; the next layout hides them once more.
            callToAction->setHidden(false);
            pill->setHidden(false);
            springBoard.coverSheetView()->teachableMomentsContainerView()->setNeedsLayout();
            pill->setNeedsLayout();
            springBoard.layoutWindows();
        }
    });
}

TEST(Tweak_Hooks, EachAttentionLossLogsItsTimeoutBeforeAskingAppsToHide)
{
    TemporaryDevice device;
    inSpringBoard(device, [](sim::SpringBoardSession& session) {
        EventRecorder events;
        session.springBoard().boot();
        session.springBoard().unlock();
        session.springBoard().openApp(kNotes);
        session.runFor(0);
        events.clear();
        SBHomeGrabberView* grabber = session.springBoard().frontHomeGrabber();
        grabber->attentionLost(2.0);
        grabber->attentionReset();
        grabber->attentionLost(0.1);

        std::vector<std::string> sequence;
        for (auto& event : events.events()) {
            if (event["type"] == "log")
                sequence.push_back(event["text"]);
            else if (event["type"] == "notification")
                sequence.push_back(event["name"].get<std::string>() + " from " + event["object"].get<std::string>());
        }
        EXPECT_EQ(sequence, std::vector<std::string>({
                                "KAKASTRONT 2.00000000000000000000",
                                "hidemediaplayer from SBHomeGrabberView",
                                "showmediaplayer from SBHomeGrabberView",
                                "KAKASTRONT 0.10000000000000000555",
                                "hidemediaplayer from SBHomeGrabberView",
                            }));
    });
}

TEST(Tweak_Hooks, ColourBroadcastComesAfterTheChangeInOrderAndCarriesOneColour)
{
    TemporaryDevice device;
    device.writeSettings("<key>dynamicenabled</key><true/>");
    inSpringBoard(device, [](sim::SpringBoardSession& session) {
        EventRecorder events;
        session.springBoard().boot();
        session.runFor(0);
        events.clear();
        session.nowPlaying().next(session.now());
        EXPECT_TRUE(colourNotifications(events).empty()) << "the colour follows the service's reply, not the change";
        session.runFor(0);
        auto posted = colourNotifications(events);
        ASSERT_EQ(posted.size(), 2u);
        EXPECT_EQ(posted[0]["name"], "updateColourSB");
        EXPECT_EQ(posted[1]["name"], "UpdateHomeSB");
        for (auto& notification : posted) {
            EXPECT_EQ(notification["object"], "SBMediaController");
            EXPECT_EQ(notification["userInfo"].size(), 1u);
        }
        EXPECT_EQ(posted[0]["userInfo"], posted[1]["userInfo"]);
        ASSERT_TRUE(posted[0]["userInfo"].contains("bgcolor1"));

        // The strip setting counts as it is when the reply arrives.
        events.clear();
        session.nowPlaying().previous(session.now());
        tweakVariable<bool>("homebardynamic") = false;
        session.runFor(0);
        posted = colourNotifications(events);
        ASSERT_EQ(posted.size(), 1u);
        EXPECT_EQ(posted[0]["name"], "updateColourSB");
    }, twoTracksWithArtwork());
}

TEST(Tweak_Hooks, WithoutDynamicColoursANowPlayingChangePostsNoColour)
{
    TemporaryDevice device;
    device.writeSettings("<key>dynamicenabled</key><false/><key>homebardynamic</key><true/>");
    inSpringBoard(device, [](sim::SpringBoardSession& session) {
        EventRecorder events;
        session.springBoard().boot();
        session.springBoard().unlock();
        session.springBoard().openApp(kNotes);
        session.runFor(0);
        UIView* row = playerView(session.springBoard().app(kNotes), "subView");
        objc::RefPtr<UIColor> before = row->backgroundColor();
        session.nowPlaying().next(session.now());
        session.runFor(1);
        EXPECT_TRUE(colourNotifications(events).empty());
        EXPECT_EQ(row->backgroundColor(), before.get()) << "the row keeps the colour it was built with";
    }, twoTracksWithArtwork());
}
