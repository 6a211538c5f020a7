// `barwidth` as both strips read it: a width from 0 to the screen's, or else the default
// with a log line saying so.

#include "support/EventRecorder.h"
#include "support/InSpringBoard.h"
#include "support/PlayerAccess.h"

#include "SpringBoard/CSHomeAffordanceView.h"
#include "SpringBoard/SBDeviceApplicationSceneViewController.h"

#include <cmath>

using namespace testing_support;

TEST(Tweak_StripWidth, AValueThatIsNoWidthGivesBothStripsTheDefaultWithOneLogLineEach)
{
    struct Case {
        const char* stored;
        double width;
    };
    // The default device's screen is 375 points wide.
    for (Case c : { Case { "<real>nan</real>", 140 }, Case { "<string>1e39</string>", 140 }, Case { "<string>-50</string>", 140 },
             Case { "<real>-50</real>", 140 }, Case { "<string>0</string>", 140 }, Case { "<string>inf</string>", 140 },
             Case { "<integer>376</integer>", 140 }, Case { "<integer>375</integer>", 375 }, Case { "<string>96.5</string>", 96.5 } }) {
        SCOPED_TRACE(c.stored);
        TemporaryDevice device;
        device.writeSettings(std::string("<key>barwidth</key>") + c.stored);
        inSpringBoard(device, [c](sim::SpringBoardSession& session) {
            EventRecorder events;
            BothStrips strips = bootToBothStrips(session);
            for (UIView* strip : { strips.lockScreen, strips.inApp }) {
                ASSERT_TRUE(strip);
                CGRect frame = strip->frameInScreen();
                EXPECT_TRUE(std::isfinite(frame.origin.x) && std::isfinite(frame.origin.y));
                EXPECT_DOUBLE_EQ(CGRectGetWidth(frame), c.width);
                EXPECT_DOUBLE_EQ(CGRectGetMidX(frame), 187.5);
            }
            std::size_t complaints = 0;
            for (auto& line : events.ofType("log")) {
                std::string text = line["text"].get<std::string>();
                if (text.find("barwidth") == std::string::npos)
                    continue;
                ++complaints;
                // Read for 0 as much as for 376, the range must leave out what it refuses.
                EXPECT_NE(text.find("not a width greater than 0 and at most the screen's 375 points; the strip is 140 points wide"), std::string::npos) << text;
            }
            EXPECT_EQ(complaints, c.width == 140 ? 2u : 0u) << "one line for each strip built";
        });
    }
}
