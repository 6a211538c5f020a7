// The live clock's waits must replay exactly: what the phone ran to and what `wait` in
// the recording reads back have to be the same double.
#include "sim/lumetrix-sim/serve/LiveClock.h"

#include "Foundation/RunLoop.h"

#include <gtest/gtest.h>

#include <string>

namespace sim {
namespace {

TEST(Serve_LiveClock, WaitsAreTheShortestDecimalOfWholeMilliseconds)
{
    EXPECT_EQ(LiveClock::secondsText(2345), "2.345");
    EXPECT_EQ(LiveClock::secondsText(2000), "2");
    EXPECT_EQ(LiveClock::secondsText(50), "0.05");
    EXPECT_EQ(LiveClock::secondsText(1), "0.001");
    EXPECT_EQ(LiveClock::secondsText(86400123), "86400.123");
}

TEST(Serve_LiveClock, ARecordedWaitReachesTheInstantThePhoneRanTo)
{
    // The phone runs to start + ms / 1000.0; a replay runs to now + stod(text).
    for (double start : { platform::RunLoop::kDefaultStartTime, platform::RunLoop::kDefaultStartTime + 103.517 }) {
        for (long long milliseconds = 1; milliseconds < 200000; milliseconds += 37) {
            double live = start + static_cast<double>(milliseconds) / 1000.0;
            double replayed = start + std::stod(LiveClock::secondsText(milliseconds));
            ASSERT_EQ(live, replayed) << milliseconds << " ms after " << start;
        }
    }
}

TEST(Serve_LiveClock, TheWallClockCountsAtTheChosenSpeed)
{
    LiveClock clock;
    clock.wallElapsed(0.25);
    EXPECT_EQ(clock.elapsedMilliseconds(), 250);
    clock.setSpeed(60);
    clock.wallElapsed(0.5);
    EXPECT_EQ(clock.elapsedMilliseconds(), 250 + 30000);
    clock.setSpeed(0);
    clock.wallElapsed(5);
    EXPECT_EQ(clock.elapsedMilliseconds(), 30250);
    EXPECT_EQ(clock.takeWait(), "30.25");
    EXPECT_EQ(clock.elapsedMilliseconds(), 0);
    EXPECT_EQ(clock.takeWait(), "") << "no time, no wait line";
}

TEST(Serve_LiveClock, SlowTicksAddUpAndAStallDoesNotJumpADay)
{
    LiveClock clock;
    for (int i = 0; i < 3; ++i)
        clock.wallElapsed(0.0004);
    EXPECT_EQ(clock.elapsedMilliseconds(), 1) << "fractions of a millisecond carry over";
    clock.takeWait();
    clock.wallElapsed(3600);
    EXPECT_EQ(clock.elapsedMilliseconds(), 10000);
}

} // namespace
} // namespace sim
