#include "NSTimer.h"

#include "RunLoop.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

using objc::RefPtr;
using platform::RunLoop;

namespace {
std::size_t s_liveTimers = 0;

RunLoop& mainRunLoop(const char* what)
{
    RunLoop* loop = RunLoop::main();
    if (!loop) {
        std::fprintf(stderr, "NSTimer: %s with no main run loop; the host makes one before any work runs\n", what);
        std::abort();
    }
    return *loop;
}
} // namespace

NSTimer::NSTimer()
{
    ++s_liveTimers;
}

NSTimer::~NSTimer()
{
    --s_liveTimers;
}

std::size_t NSTimer::liveTimerCount()
{
    return s_liveTimers;
}

id NSTimer::scheduledWithTargetMethod(Class, SEL, double interval, id target, SEL selector, id userInfo, bool repeats)
{
    auto timer = alloc();
    timer->m_target = target;
    timer->m_selector = selector;
    timer->m_userInfo = userInfo;
    const char* name = selector ? sel_getName(selector) : "";
    std::size_t length = std::strlen(name);
    timer->m_selectorTakesTimer = length && name[length - 1] == ':';
    return schedule(interval, repeats, std::move(timer));
}

id NSTimer::scheduledWithBlockMethod(Class, SEL, double interval, bool repeats, objc::BlockObject* block)
{
    auto timer = alloc();
    timer->m_block = TimerBlock::from(block);
    return schedule(interval, repeats, std::move(timer));
}

NSTimer* NSTimer::schedule(double interval, bool repeats, RefPtr<NSTimer> timer)
{
    RunLoop& loop = mainRunLoop("scheduling a timer");
    // Foundation's rule; it also keeps a repeating timer from firing forever at one
    // instant of a virtual clock.
    timer->m_interval = interval > 0 ? interval : kMinimumInterval;
    timer->m_repeats = repeats;
    timer->m_valid = true;
    timer->m_fireDate = loop.now() + timer->m_interval;
    timer->scheduleNextFiring();
    // The queued firing holds the timer now; the caller borrows it.
    return timer.get();
}

void NSTimer::scheduleNextFiring()
{
    RefPtr<NSTimer> protectedThis(this);
    m_pendingTask = mainRunLoop("rescheduling a timer").schedule(m_fireDate, [protectedThis] { protectedThis->timerDidFire(); }, RunLoop::TaskKind::Timer);
}

void NSTimer::timerDidFire()
{
    m_pendingTask = 0;
    if (!m_valid)
        return;
    double planned = m_fireDate;
    sendToTarget();
    // The callback may have invalidated the timer.
    if (!m_valid)
        return;
    if (!m_repeats) {
        stop();
        return;
    }
    // The next firing counts from the planned time, not from when this one ran; any
    // firings already missed (a long callback on the real clock) collapse into this one.
    double now = mainRunLoop("rescheduling a timer").now();
    double next = planned + m_interval;
    if (next <= now) {
        next = planned + (std::floor((now - planned) / m_interval) + 1) * m_interval;
        if (next <= now)
            next += m_interval;
    }
    m_fireDate = next;
    scheduleNextFiring();
}

void NSTimer::sendToTarget()
{
    RefPtr<NSTimer> protectedThis(this);
    if (m_block) {
        auto block = m_block;
        (*block)(this);
        return;
    }
    RefPtr<objc::Object> target = m_target;
    if (!target || !m_selector)
        return;
    if (m_selectorTakesTimer)
        objc_msgSend<void>(target.get(), m_selector, static_cast<id>(this));
    else
        objc_msgSend<void>(target.get(), m_selector);
}

void NSTimer::fire()
{
    objc_msgSend<void>(this, "fire"_sel);
}

void NSTimer::stop()
{
    if (!m_valid)
        return;
    m_valid = false;
    RefPtr<NSTimer> protectedThis(this);
    if (auto task = std::exchange(m_pendingTask, 0)) {
        if (RunLoop* loop = RunLoop::main())
            loop->cancel(task);
    }
    // Released only once the timer reads as invalid: the target's destruction may call
    // back into this timer.
    auto target = std::move(m_target);
    auto userInfo = std::move(m_userInfo);
    auto block = std::move(m_block);
}

void NSTimer::invalidateMethod(NSTimer* self, SEL)
{
    self->stop();
}

void NSTimer::fireMethod(NSTimer* self, SEL)
{
    // Firing by hand leaves a repeating timer's schedule alone and ends a one-shot.
    if (!self->m_valid)
        return;
    RefPtr<NSTimer> protectedThis(self);
    self->sendToTarget();
    if (!self->m_repeats)
        self->stop();
}

bool NSTimer::isValidMethod(NSTimer* self, SEL)
{
    return self->m_valid;
}
