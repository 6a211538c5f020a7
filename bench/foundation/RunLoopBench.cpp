// Events per second of real time on the virtual clock: how fast a simulated day of run
// loop work goes by. Scenarios run hours of virtual use; these figures say how much of
// that is the loop itself rather than the work it runs.

#include "BenchListener.h"
#include "PlatformFixture.h"

#include "Foundation/NSTimer.h"
#include "Foundation/RunLoop.h"

#include <cstdint>

namespace {

constexpr double kVirtualDay = 86400;

// A fixed pseudo-random sequence (xorshift), so every run queues the same due times.
class DueTimes {
public:
    double next()
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 7;
        m_state ^= m_state << 17;
        return static_cast<double>(m_state % 86'400'000) / 1000.0;
    }

private:
    std::uint64_t m_state = 0x9E3779B97F4A7C15ull;
};

// Queues N tasks at scattered times across a day, then runs the day: the cost of
// scheduling plus ordered execution with the queue N deep at the start.
BENCHMARK_DEFINE_F(PlatformFixture, RunLoop_ScatteredTasksOverVirtualDay)(benchmark::State& state)
{
    const auto taskCount = static_cast<std::size_t>(state.range(0));
    std::size_t ran = 0;
    for (auto _ : state) {
        platform::RunLoop loop;
        DueTimes dueTimes;
        double start = loop.now();
        for (std::size_t i = 0; i < taskCount; ++i)
            loop.schedule(start + dueTimes.next(), [&ran] { ++ran; });
        loop.runFor(kVirtualDay);
        if (loop.pendingTaskCount())
            state.SkipWithError("tasks were left queued after the day");
    }
    if (ran != taskCount * state.iterations())
        state.SkipWithError("not every task ran");
    state.SetItemsProcessed(static_cast<std::int64_t>(ran));
    state.SetLabel("items = tasks run");
}
BENCHMARK_REGISTER_F(PlatformFixture, RunLoop_ScatteredTasksOverVirtualDay)->Arg(1'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

// A one-second repeating timer, as the tweak's progress update runs, for a virtual day:
// each firing reschedules the timer and sends its selector to the target.
BENCHMARK_DEFINE_F(PlatformFixture, NSTimer_RepeatingSecondForVirtualDay)(benchmark::State& state)
{
    BenchListener::registerRuntimeClass();
    long firings = 0;
    for (auto _ : state) {
        platform::RunLoop loop;
        auto listener = BenchListener::alloc();
        NSTimer* timer = NSTimer::scheduledTimerWithTimeInterval(1, listener.get(), "noteHeard:"_sel, nil, true);
        loop.runFor(kVirtualDay);
        timer->invalidate();
        // The first firing comes a second in, the last at the day's final instant.
        if (listener->heard() != static_cast<long>(kVirtualDay))
            state.SkipWithError("the timer did not fire once a second all day");
        firings += listener->heard();
    }
    state.SetItemsProcessed(firings);
    state.SetLabel("items = timer firings");
}
BENCHMARK_REGISTER_F(PlatformFixture, NSTimer_RepeatingSecondForVirtualDay)->Unit(benchmark::kMillisecond);

} // namespace
