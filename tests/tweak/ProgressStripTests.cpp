// The progress strip as both players build it: the same look, `barwidth` wide, full until
// its first refresh; they differ only in the track behind the progress.

#include "support/InSpringBoard.h"
#include "support/PlayerAccess.h"

#include "SpringBoard/CSHomeAffordanceView.h"
#include "SpringBoard/SBDeviceApplicationSceneViewController.h"
#include "UIKit/UIColor.h"
#include "UIKit/UIProgressView.h"

using namespace testing_support;

TEST(Tweak_ProgressStrip, BothPlayersBuildTheSameStripOnTheirOwnTrack)
{
    TemporaryDevice device;
    device.writeSettings("<key>barwidth</key><string>90</string>");
    inSpringBoard(device, [](sim::SpringBoardSession& session) {
        BothStrips strips = bootToBothStrips(session);
        UIProgressView* lockScreenStrip = strips.lockScreen;
        UIProgressView* appStrip = strips.inApp;
        ASSERT_TRUE(lockScreenStrip && appStrip);
        for (UIProgressView* strip : { lockScreenStrip, appStrip }) {
            SCOPED_TRACE(strip == appStrip ? "in-app" : "lock screen");
            EXPECT_EQ(strip->progressViewStyle(), UIProgressViewStyleBar);
            EXPECT_DOUBLE_EQ(strip->layer()->cornerRadius(), 2.5);
            EXPECT_TRUE(strip->layer()->masksToBounds());
            EXPECT_FALSE(strip->translatesAutoresizingMaskIntoConstraints());
            EXPECT_DOUBLE_EQ(CGRectGetWidth(strip->frameInScreen()), 90.0);
            EXPECT_DOUBLE_EQ(CGRectGetHeight(strip->frameInScreen()), 5.0);
            EXPECT_FLOAT_EQ(strip->progress(), 1.0f) << "full until the first refresh";
        }
        EXPECT_EQ(lockScreenStrip->trackTintColor()->systemName(), "clearColor");
        UIColorComponents track = appStrip->trackTintColor()->components();
        EXPECT_DOUBLE_EQ(track.red, 0.69);
        EXPECT_DOUBLE_EQ(track.green, 0.69);
        EXPECT_DOUBLE_EQ(track.blue, 0.69);
        EXPECT_DOUBLE_EQ(track.alpha, 1.0);
    });
}
