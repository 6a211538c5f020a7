#include "CoreFoundation/CFDate.h"
#include "Foundation/NSDate.h"
#include "Foundation/RunLoop.h"
#include "dispatch/dispatch.h"
#include "objc/WeakPtr.h"
#include "objc/runtime.h"

#include "PlatformTestValues.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <memory>
#include <string>
#include <vector>

using objc::RefPtr;
using objc::WeakPtr;
using platform::RunLoop;

namespace platform {
void registerFoundationClasses();
}

namespace {

using platform_test::kStart;

// A runtime object that only counts its deaths.
class Host : public objc::Object {
public:
    Host() = default;
    ~Host() override { ++destroyed; }
    static inline int destroyed = 0;
    int calls = 0;
};

Class hostClass()
{
    static Class cls = objc::defineClass<Host>("RunLoopTestHost", nullptr);
    return cls;
}

RefPtr<Host> makeHost()
{
    return objc::make<Host>(hostClass());
}

class Foundation_RunLoop : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::registerFoundationClasses();
        loop = std::make_unique<RunLoop>();
    }
    std::unique_ptr<RunLoop> loop;
};

TEST_F(Foundation_RunLoop, RunsByDueTimeThenInSchedulingOrder)
{
    std::string order;
    struct Case {
        double delay;
        char name;
    };
    for (Case c : std::vector<Case> { { 2, 'a' }, { 1, 'b' }, { 1, 'c' }, { 0.5, 'd' }, { 2, 'e' }, { 0, 'f' } })
        loop->schedule(kStart + c.delay, [&order, c] { order += c.name; });
    loop->runFor(10);
    EXPECT_EQ(order, "fdbcae");
}

TEST_F(Foundation_RunLoop, ClockStandsAtEachEventThenAtTheTarget)
{
    std::vector<double> seen;
    loop->schedule(kStart + 1.5, [&] { seen.push_back(loop->now()); });
    loop->schedule(kStart + 0.25, [&] { seen.push_back(CFAbsoluteTimeGetCurrent()); });
    EXPECT_EQ(loop->now(), kStart);
    loop->runFor(2);
    EXPECT_EQ(seen, (std::vector<double> { kStart + 0.25, kStart + 1.5 }));
    EXPECT_EQ(loop->now(), kStart + 2);

    // A target in the past runs what is due now and never moves the clock back.
    bool ran = false;
    loop->schedule(loop->now(), [&] { ran = true; });
    loop->runUntil(kStart);
    EXPECT_TRUE(ran);
    EXPECT_EQ(loop->now(), kStart + 2);
}

TEST_F(Foundation_RunLoop, WorkQueuedWhileRunningJoinsTheSameRun)
{
    std::string order;
    loop->schedule(kStart + 1, [&] {
        order += 'a';
        loop->schedule(loop->now(), [&] { order += 'c'; });
        loop->schedule(loop->now() + 0.5, [&] { order += 'd'; });
    });
    loop->schedule(kStart + 1, [&] { order += 'b'; });
    loop->runFor(1);
    EXPECT_EQ(order, "abc") << "work due at the target runs, later work waits";
    loop->runFor(0.5);
    EXPECT_EQ(order, "abcd");
}

TEST_F(Foundation_RunLoop, CancelledTasksNeverRun)
{
    int runs = 0;
    auto later = loop->schedule(kStart + 2, [&] { ++runs; });
    loop->schedule(kStart + 1, [&] { loop->cancel(later); });
    auto dropped = loop->schedule(kStart + 1, [&] { ++runs; });
    loop->cancel(dropped);
    loop->cancel(dropped);
    loop->cancel(123456789);
    EXPECT_EQ(loop->pendingTaskCount(), 2u);
    EXPECT_EQ(loop->nextDueTime(), kStart + 1);
    loop->runFor(5);
    EXPECT_EQ(runs, 0);
    EXPECT_EQ(loop->pendingTaskCount(), 0u);
    EXPECT_FALSE(loop->nextDueTime());
}

TEST_F(Foundation_RunLoop, RunOneEventStopsAtTheLimit)
{
    int runs = 0;
    loop->schedule(kStart + 1, [&] { ++runs; });
    loop->schedule(kStart + 3, [&] { ++runs; });
    EXPECT_FALSE(loop->runOneEventUntil(kStart + 0.5));
    EXPECT_TRUE(loop->runOneEventUntil(kStart + 5));
    EXPECT_EQ(loop->now(), kStart + 1);
    EXPECT_FALSE(loop->runOneEventUntil(kStart + 2));
    EXPECT_EQ(runs, 1);
}

TEST_F(Foundation_RunLoop, EachTaskDrainsItsOwnAutoreleasePool)
{
    WeakPtr<Host> autoreleased;
    loop->schedule(kStart, [&] {
        auto host = makeHost();
        autoreleased = host.get();
        objc_autorelease(host.leakRef());
    });
    bool aliveInNextTask = true;
    loop->schedule(kStart, [&] { aliveInNextTask = autoreleased.get(); });
    loop->runFor(0);
    EXPECT_FALSE(aliveInNextTask);
}

TEST_F(Foundation_RunLoop, TearDownReleasesPendingWorkEvenWhenItQueuesMore)
{
    int before = Host::destroyed;
    auto host = makeHost();
    WeakPtr<Host> weakHost = host.get();
    loop->schedule(kStart + 10, [host] { host->calls++; });
    host = nullptr;
    // Releasing this capture queues more work while the loop is being torn down.
    struct Requeue {
        RunLoop* loop;
        ~Requeue()
        {
            if (loop)
                loop->schedule(loop->now(), [] { });
        }
    };
    auto requeue = std::make_shared<Requeue>(Requeue { loop.get() });
    loop->schedule(kStart + 20, [requeue] { });
    requeue = nullptr;

    EXPECT_TRUE(weakHost.get());
    loop.reset();
    EXPECT_FALSE(weakHost.get());
    EXPECT_EQ(Host::destroyed, before + 1);
    EXPECT_EQ(RunLoop::main(), nullptr);
}

TEST_F(Foundation_RunLoop, ReadSourcesAreDeliveredWhenTheLoopNextRuns)
{
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    std::string received;
    loop->addReadSource(fds[0], [&] {
        char buffer[16];
        ssize_t count = read(fds[0], buffer, sizeof(buffer));
        received.append(buffer, count > 0 ? count : 0);
        loop->removeReadSource(fds[0]);
    });
    loop->runFor(1);
    EXPECT_EQ(received, "");
    ASSERT_EQ(write(fds[1], "hi", 2), 2);
    EXPECT_EQ(received, "") << "nothing is read until the loop runs";
    double before = loop->now();
    loop->runFor(0);
    EXPECT_EQ(received, "hi");
    EXPECT_EQ(loop->now(), before);

    // Removed by its own handler: later data stays unread.
    ASSERT_EQ(write(fds[1], "more", 4), 4);
    loop->runFor(1);
    EXPECT_EQ(received, "hi");
    close(fds[0]);
    close(fds[1]);
}

TEST_F(Foundation_RunLoop, MainIsTheLiveLoopAndThereIsOnlyOne)
{
    EXPECT_EQ(RunLoop::main(), loop.get());
    EXPECT_DEATH(RunLoop second, "already exists");
}

TEST_F(Foundation_RunLoop, RunawayWorkStopsTheProcess)
{
    loop->setMaximumEventsPerRun(1000);
    std::function<void()> again;
    again = [&] { loop->schedule(loop->now(), again); };
    loop->schedule(kStart, again);
    EXPECT_DEATH(loop->runFor(1), "more than 1000 events");
}

TEST_F(Foundation_RunLoop, NSDateAndCFDateReadTheLoopClock)
{
    loop->runFor(12.5);
    auto date = NSDate::date();
    EXPECT_EQ(date->timeIntervalSinceReferenceDate(), kStart + 12.5);
    EXPECT_EQ(CFDateGetAbsoluteTime(date.get()), kStart + 12.5);
    EXPECT_EQ(CFAbsoluteTimeGetCurrent(), kStart + 12.5);
}

TEST(Foundation_RunLoopWithoutLoop, CFAbsoluteTimeFallsBackToTheWallClock)
{
    ASSERT_EQ(RunLoop::main(), nullptr);
    double unixNow = static_cast<double>(time(nullptr));
    EXPECT_NEAR(CFAbsoluteTimeGetCurrent() + kCFAbsoluteTimeIntervalSince1970, unixNow, 5);
}

// Dispatch on the main queue.

TEST_F(Foundation_RunLoop, DispatchAfterLandsExactlyWhereRunForStops)
{
    // Fractional times that do not survive a round trip through nanoseconds.
    for (int step = 0; step < 7; ++step)
        loop->runFor(0.1);
    std::vector<double> ran;
    dispatch_after(dispatch_time(DISPATCH_TIME_NOW, 100 * NSEC_PER_MSEC), dispatch_get_main_queue(), [&] { ran.push_back(loop->now()); });
    dispatch_after(dispatch_time(DISPATCH_TIME_NOW, 3 * NSEC_PER_SEC), dispatch_get_main_queue(), [&] { ran.push_back(loop->now()); });
    double due = loop->now() + 0.1;
    loop->runFor(0.1);
    ASSERT_EQ(ran.size(), 1u);
    EXPECT_EQ(ran[0], due);
    loop->runFor(2.8999);
    EXPECT_EQ(ran.size(), 1u);
    loop->runFor(0.0001);
    EXPECT_EQ(ran.size(), 2u);
}

TEST_F(Foundation_RunLoop, DispatchRunsSameTimeBlocksInSubmissionOrder)
{
    std::string order;
    auto queue = dispatch_get_main_queue();
    dispatch_after(dispatch_time(DISPATCH_TIME_NOW, NSEC_PER_SEC), queue, [&] { order += 'c'; });
    dispatch_async(queue, [&] { order += 'a'; });
    dispatch_after(DISPATCH_TIME_NOW, queue, [&] { order += 'b'; });
    dispatch_after(DISPATCH_TIME_FOREVER, queue, [&] { order += 'x'; });
    EXPECT_EQ(order, "") << "never runs inline";
    loop->runFor(0);
    EXPECT_EQ(order, "ab");
    loop->runFor(100);
    EXPECT_EQ(order, "abc");
}

TEST_F(Foundation_RunLoop, DispatchTimeArithmetic)
{
    loop->runFor(2);
    struct Case {
        dispatch_time_t when;
        std::int64_t delta;
        dispatch_time_t expected;
    };
    for (auto c : std::vector<Case> {
             { DISPATCH_TIME_NOW, 0, 2 * NSEC_PER_SEC },
             { DISPATCH_TIME_NOW, 500, 2 * NSEC_PER_SEC + 500 },
             { 5 * NSEC_PER_SEC, -std::int64_t(NSEC_PER_SEC), 4 * NSEC_PER_SEC },
             { 5, -10, 0 },
             { DISPATCH_TIME_FOREVER, -std::int64_t(NSEC_PER_SEC), DISPATCH_TIME_FOREVER },
             { DISPATCH_TIME_FOREVER - 10, 100, DISPATCH_TIME_FOREVER },
         })
        EXPECT_EQ(dispatch_time(c.when, c.delta), c.expected) << c.when << " + " << c.delta;
}

TEST_F(Foundation_RunLoop, DeferredWorkHoldingAWeakHostDoesNothingOnceItIsGone)
{
    auto host = makeHost();
    WeakPtr<Host> weakHost = host.get();
    int ran = 0;
    dispatch_after(dispatch_time(DISPATCH_TIME_NOW, 3 * NSEC_PER_SEC), dispatch_get_main_queue(), [weakHost, &ran] {
        if (auto strongHost = weakHost.strong()) {
            strongHost->calls++;
            ++ran;
        }
    });
    host = nullptr;
    EXPECT_FALSE(weakHost.get()) << "the pending block must not keep its host alive";
    loop->runFor(5);
    EXPECT_EQ(ran, 0);
}

TEST_F(Foundation_RunLoop, RealTimeClockRunsOnlyWhatTheWallClockHasReached)
{
    loop.reset();
    loop = std::make_unique<RunLoop>(RunLoop::ClockMode::RealTime, kStart);
    std::string order;
    loop->schedule(kStart - 5, [&] { order += 'a'; });
    loop->schedule(kStart + 1000, [&] { order += 'z'; });
    double before = loop->now();
    loop->runFor(0);
    EXPECT_EQ(order, "a");
    EXPECT_GE(loop->now(), before);
    EXPECT_LT(loop->now(), kStart + 1000) << "real time never jumps ahead to the next event";
    EXPECT_FALSE(loop->runOneEventUntil(kStart + 2000));
}

} // namespace
