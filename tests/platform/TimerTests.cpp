#include "Foundation/NSTimer.h"
#include "Foundation/RunLoop.h"
#include "objc/WeakPtr.h"
#include "objc/runtime.h"
#include "substrate/substrate.h"

#include "PlatformTestValues.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

using objc::RefPtr;
using objc::WeakPtr;
using platform::RunLoop;

namespace platform {
void registerFoundationClasses();
}

namespace {

using platform_test::kStart;

// A timer target: records when and with what it was called, and may act on the timer.
class Ticker : public NSObject {
public:
    Ticker() = default;
    std::vector<double> times;
    std::vector<id> arguments;
    std::function<void(Ticker*, NSTimer*)> onTick;

    static void tickWithTimer(Ticker* self, SEL, NSTimer* timer)
    {
        self->record(timer);
    }
    static void tick(Ticker* self, SEL) { self->record(nullptr); }

private:
    void record(NSTimer* timer)
    {
        times.push_back(RunLoop::main()->now() - kStart);
        arguments.push_back(timer);
        if (onTick)
            onTick(this, timer);
    }
};

Class tickerClass()
{
    static Class cls = [] {
        Class c = objc::defineClass<Ticker>("TimerTestTicker", NSObject::staticClass());
        objc::addMethod(c, "tick:", &Ticker::tickWithTimer);
        objc::addMethod(c, "tick", &Ticker::tick);
        return c;
    }();
    return cls;
}

class Foundation_Timer : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::registerFoundationClasses();
        tickerClass();
        liveTimersBefore = NSTimer::liveTimerCount();
        loop = std::make_unique<RunLoop>();
    }
    void TearDown() override
    {
        loop.reset();
        EXPECT_EQ(NSTimer::liveTimerCount(), liveTimersBefore) << "the run loop's timers must die with it";
    }

    RefPtr<Ticker> makeTicker() { return objc::make<Ticker>(tickerClass()); }
    NSTimer* every(double interval, Ticker* target, bool repeats = true)
    {
        return NSTimer::scheduledTimerWithTimeInterval(interval, target, "tick:"_sel, nil, repeats);
    }

    std::unique_ptr<RunLoop> loop;
    std::size_t liveTimersBefore = 0;
};

TEST_F(Foundation_Timer, NotFiredBeforeItsIntervalFiredAtIt)
{
    auto ticker = makeTicker();
    every(1.0, ticker.get(), false);
    loop->runFor(0.999);
    EXPECT_TRUE(ticker->times.empty());
    loop->runFor(0.001);
    EXPECT_EQ(ticker->times, std::vector<double> { 1.0 });
}

TEST_F(Foundation_Timer, RepeatingTimerRunsAVirtualDayOnItsPlannedSchedule)
{
    auto ticker = makeTicker();
    NSTimer* timer = every(1.0, ticker.get());
    loop->runFor(3.5);
    EXPECT_EQ(ticker->times, (std::vector<double> { 1, 2, 3 }));
    EXPECT_EQ(timer->fireDate(), kStart + 4);

    loop->runFor(86400 - 3.5);
    EXPECT_EQ(ticker->times.size(), 86400u);
    EXPECT_EQ(ticker->times.back(), 86400.0);
    EXPECT_EQ(loop->scheduledTimerCount(), 1u) << "a repeating timer keeps exactly one firing queued";
    EXPECT_TRUE(timer->isValid());
}

TEST_F(Foundation_Timer, SelectorArgumentFollowsTheSelectorsName)
{
    auto ticker = makeTicker();
    NSTimer* withArgument = every(1.0, ticker.get(), false);
    NSTimer::scheduledTimerWithTimeInterval(2.0, ticker.get(), "tick"_sel, nil, false);
    loop->runFor(2);
    // A send with the wrong arity would have stopped the process at the encoding check.
    ASSERT_EQ(ticker->arguments.size(), 2u);
    EXPECT_EQ(ticker->arguments[0], static_cast<id>(withArgument));
    EXPECT_EQ(ticker->arguments[1], nil);
}

TEST_F(Foundation_Timer, NonPositiveIntervalsBecomeTheMinimum)
{
    for (double interval : { 0.0, -5.0 }) {
        auto ticker = makeTicker();
        NSTimer* timer = every(interval, ticker.get());
        EXPECT_EQ(timer->timeInterval(), NSTimer::kMinimumInterval);
        double start = loop->now();
        loop->runUntil(start + 0.00005);
        EXPECT_TRUE(ticker->times.empty()) << interval;
        loop->runUntil(start + 0.00035);
        EXPECT_EQ(ticker->times.size(), 3u) << "a zero-interval timer must not spin at one instant";
        timer->invalidate();
    }
}

TEST_F(Foundation_Timer, OneShotInvalidatesItselfAndLetsGoOfItsTarget)
{
    auto ticker = makeTicker();
    WeakPtr<Ticker> weakTicker = ticker.get();
    bool validDuringCall = false;
    ticker->onTick = [&](Ticker*, NSTimer* timer) { validDuringCall = timer->isValid(); };
    NSTimer* timer = every(1.0, ticker.get(), false);
    RefPtr<NSTimer> keep = timer;
    ticker = nullptr;
    EXPECT_TRUE(weakTicker.get()) << "a scheduled timer keeps its target";

    loop->runFor(10);
    EXPECT_TRUE(validDuringCall);
    EXPECT_FALSE(keep->isValid());
    EXPECT_FALSE(weakTicker.get()) << "firing released the target";
    EXPECT_EQ(loop->scheduledTimerCount(), 0u);
}

TEST_F(Foundation_Timer, RepeatingTimerKeepsItsTargetUntilInvalidated)
{
    auto ticker = makeTicker();
    WeakPtr<Ticker> weakTicker = ticker.get();
    NSTimer* timer = every(1.0, ticker.get());
    WeakPtr<NSTimer> weakTimer = timer;
    ticker = nullptr;
    loop->runFor(3);
    ASSERT_TRUE(weakTicker.get());
    EXPECT_EQ(weakTicker->times.size(), 3u);

    timer->invalidate();
    EXPECT_FALSE(weakTicker.get());
    EXPECT_FALSE(weakTimer.get()) << "the run loop let go of the timer too";
    EXPECT_EQ(loop->scheduledTimerCount(), 0u);
}

TEST_F(Foundation_Timer, InvalidatedFromItsOwnCallback)
{
    auto ticker = makeTicker();
    ticker->onTick = [](Ticker* self, NSTimer* timer) {
        if (self->times.size() == 2)
            timer->invalidate();
    };
    every(1.0, ticker.get());
    loop->runFor(10);
    EXPECT_EQ(ticker->times, (std::vector<double> { 1, 2 }));
}

TEST_F(Foundation_Timer, CallbackInvalidatesAnotherTimerDueAtTheSameInstant)
{
    auto first = makeTicker();
    auto second = makeTicker();
    every(1.0, first.get());
    NSTimer* victim = every(1.0, second.get());
    WeakPtr<Ticker> weakSecond = second.get();
    second = nullptr;
    WeakPtr<NSTimer> weakVictim = victim;
    first->onTick = [weakVictim](Ticker*, NSTimer*) {
        if (auto timer = weakVictim.strong())
            timer->invalidate();
    };
    loop->runFor(3);
    EXPECT_EQ(first->times.size(), 3u);
    EXPECT_FALSE(weakSecond.get()) << "invalidated before its first firing, and released";
    EXPECT_FALSE(weakVictim.get());
}

TEST_F(Foundation_Timer, MissedFiringsCollapseAndTheScheduleKeepsItsPhase)
{
    // The callback runs the loop itself, so by the time it returns the clock is late;
    // the next firing still counts from the planned time.
    struct Case {
        double lateness;
        double expectedSecondFiring;
    };
    for (auto c : std::vector<Case> { { 0.5, 2 }, { 1.0, 3 }, { 3.5, 5 } }) {
        auto ticker = makeTicker();
        ticker->onTick = [&, lateness = c.lateness](Ticker* self, NSTimer*) {
            if (self->times.size() == 1)
                loop->runUntil(loop->now() + lateness);
        };
        double start = loop->now();
        NSTimer* timer = every(1.0, ticker.get());
        loop->runUntil(start + c.expectedSecondFiring);
        ASSERT_EQ(ticker->times.size(), 2u) << "lateness " << c.lateness;
        EXPECT_DOUBLE_EQ(ticker->times[1] - (start - kStart), c.expectedSecondFiring);
        timer->invalidate();
    }
}

TEST_F(Foundation_Timer, FiringByHand)
{
    auto ticker = makeTicker();
    NSTimer* repeating = every(1.0, ticker.get());
    loop->runFor(0.5);
    repeating->fire();
    EXPECT_EQ(ticker->times, std::vector<double> { 0.5 });
    EXPECT_EQ(repeating->fireDate(), kStart + 1) << "a manual firing leaves the schedule alone";
    loop->runFor(0.5);
    EXPECT_EQ(ticker->times.size(), 2u);

    auto once = makeTicker();
    NSTimer* oneShot = every(5.0, once.get(), false);
    RefPtr<NSTimer> keep = oneShot;
    oneShot->fire();
    EXPECT_FALSE(keep->isValid());
    keep->fire();
    loop->runFor(10);
    EXPECT_EQ(once->times.size(), 1u) << "ended by the manual firing";
}

TEST_F(Foundation_Timer, BlockTimers)
{
    int firings = 0;
    NSTimer* timer = NSTimer::scheduledTimerWithTimeInterval(0.5, true, [&](NSTimer* self) {
        if (++firings == 4)
            self->invalidate();
    });
    EXPECT_EQ(timer->target(), nil);
    loop->runFor(10);
    EXPECT_EQ(firings, 4);
    EXPECT_EQ(loop->scheduledTimerCount(), 0u);
}

TEST_F(Foundation_Timer, RuntimeMethodsReachTheTimer)
{
    auto ticker = makeTicker();
    NSTimer* timer = every(1.0, ticker.get());
    EXPECT_TRUE(objc_msgSend<bool>(timer, "isValid"_sel));
    objc_msgSend(timer, "fire"_sel);
    EXPECT_EQ(ticker->times.size(), 1u);

    // A hook on invalidate sees the C++ convenience call.
    static int hooked = 0;
    static void (*original)(id, SEL) = nullptr;
    MSHookMessageEx(NSTimer::staticClass(), "invalidate"_sel, reinterpret_cast<IMP>(+[](id self, SEL sel) {
        ++hooked;
        original(self, sel);
    }),
        reinterpret_cast<IMP*>(&original));
    timer->invalidate();
    MSHookMessageEx(NSTimer::staticClass(), "invalidate"_sel, reinterpret_cast<IMP>(original), nullptr);
    EXPECT_EQ(hooked, 1);
    EXPECT_EQ(loop->scheduledTimerCount(), 0u);
}

TEST_F(Foundation_Timer, TearDownWithTimersPendingReleasesTimersAndTargets)
{
    auto ticker = makeTicker();
    WeakPtr<Ticker> weakTicker = ticker.get();
    every(1.0, ticker.get());
    every(30.0, ticker.get(), false);
    NSTimer::scheduledTimerWithTimeInterval(2.0, false, [ticker](NSTimer*) { });
    ticker = nullptr;
    loop->runFor(1.5);
    EXPECT_EQ(loop->scheduledTimerCount(), 3u);
    EXPECT_EQ(NSTimer::liveTimerCount(), liveTimersBefore + 3);
    loop.reset();
    EXPECT_FALSE(weakTicker.get());
    // TearDown checks that every timer is gone.
}

} // namespace
