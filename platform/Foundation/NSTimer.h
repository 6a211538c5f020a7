#pragma once
// NSTimer: sends a message (or runs a block) on the main run loop after an interval,
// once or repeatedly.
//
// Ownership follows Foundation: the run loop keeps a scheduled timer, and the timer keeps
// its target (and user info, and block) until it is invalidated. So a repeating timer
// nobody invalidates keeps its target alive for as long as the run loop lives.

#include "NSObject.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

namespace platform {
void registerFoundationTimeClasses();
}

class NSTimer : public NSObject {
    OBJC_INTERFACE(NSTimer)
public:
    using Block = std::function<void(NSTimer*)>;
    using TimerBlock = objc::Block<void(NSTimer*)>;

    // What an interval of zero or less becomes.
    static constexpr double kMinimumInterval = 0.0001;

    NSTimer();
    ~NSTimer() override;

    // Schedules on the main run loop, first firing `interval` seconds from now. The
    // result is borrowed: the run loop owns the timer. `selector` is sent to `target`
    // with the timer as its argument when it takes one (its name ends in ':').
    // Both are class methods sent through the runtime; the block travels as a block object.
    static NSTimer* scheduledTimerWithTimeInterval(double interval, id target, SEL selector, id userInfo, bool repeats)
    {
        return static_cast<NSTimer*>(objc_sendToClass<"NSTimer", "scheduledTimerWithTimeInterval:target:selector:userInfo:repeats:", id>(interval, target, selector, userInfo, repeats));
    }
    static NSTimer* scheduledTimerWithTimeInterval(double interval, bool repeats, Block block)
    {
        auto object = TimerBlock::create(std::move(block));
        return static_cast<NSTimer*>(objc_sendToClass<"NSTimer", "scheduledTimerWithTimeInterval:repeats:block:", id>(interval, repeats, object.get()));
    }

    // Sent through the runtime, so hooks see them.
    void invalidate() { objc_send<"invalidate">(this); }
    void fire();
    bool isValid() const { return m_valid; }

    double timeInterval() const { return m_interval; }
    // When it fires next (CFAbsoluteTime).
    double fireDate() const { return m_fireDate; }
    bool repeats() const { return m_repeats; }
    id userInfo() const { return m_userInfo.get(); }
    id target() const { return m_target.get(); }
    SEL selector() const { return m_selector; }

    // Timer objects alive in the process (scheduled or not).
    static std::size_t liveTimerCount();

private:
    friend void platform::registerFoundationTimeClasses();

    static NSTimer* schedule(double interval, bool repeats, objc::RefPtr<NSTimer>);
    void scheduleNextFiring();
    // The run loop's side: the planned firing has come.
    void timerDidFire();
    void sendToTarget();
    void stop();

    // The runtime methods. The class methods hand the timer back borrowed: the run loop
    // keeps it.
    static id scheduledWithTargetMethod(Class, SEL, double interval, id target, SEL selector, id userInfo, bool repeats);
    static id scheduledWithBlockMethod(Class, SEL, double interval, bool repeats, objc::BlockObject* block);
    static void invalidateMethod(NSTimer*, SEL);
    static void fireMethod(NSTimer*, SEL);
    static bool isValidMethod(NSTimer*, SEL);

    double m_interval = kMinimumInterval;
    double m_fireDate = 0;
    bool m_repeats = false;
    bool m_valid = false;
    bool m_selectorTakesTimer = false;
    std::uint64_t m_pendingTask = 0;
    objc::RefPtr<objc::Object> m_target;
    SEL m_selector = nullptr;
    objc::RefPtr<objc::Object> m_userInfo;
    // Counted, so a block that invalidates its own timer stays alive while it runs.
    objc::RefPtr<TimerBlock> m_block;
};
