#pragma once
// The main thread's run loop and the clock every time-keeping API reads (CFAbsoluteTime,
// NSDate, dispatch_time, timers, animations).
//
// One loop per process, made by the host's main() or a test fixture and destroyed with
// it. Work is queued by due time; equal times run first in, first out. With the virtual
// clock, time only moves when the loop runs: runFor(86400) jumps from one due event to
// the next, so a day of use takes as long as its events do and every run is repeatable.
// With the real-time clock the loop waits for the wall clock instead.
//
// Other processes reach the loop through file descriptors (read sources). Looking at
// them is a system call, so the loop looks once per run (runUntil) and once per batch of
// due work in real time, not before every task: with the virtual clock every other
// process is still while this one runs, so what has arrived was there when the run
// began. A write from inside the process (a notification posted to itself) calls
// wakeUp(), and the sources are looked at again before the next task.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

namespace platform {

class RunLoop {
public:
    enum class ClockMode {
        Virtual,
        RealTime
    };
    // What the queued work is, so the loop can say how many timers it is keeping.
    enum class TaskKind {
        Work,
        Timer
    };
    using TaskId = std::uint64_t;

    // 2026-01-01 00:00:00 UTC as seconds since 2001-01-01 (CFAbsoluteTime).
    static constexpr double kDefaultStartTime = 788918400.0;
    // A run that executes more events than this in one call is stuck (say, a zero-delay
    // task that keeps queueing itself); it stops the process rather than spin silently.
    static constexpr std::size_t kMaximumEventsPerRun = 50'000'000;

    // Becomes the process's main run loop; only one may exist at a time. In real-time
    // mode the clock starts at `startAbsoluteTime` and advances with the wall clock.
    explicit RunLoop(ClockMode = ClockMode::Virtual, double startAbsoluteTime = kDefaultStartTime);
    // Drops every queued task (releasing timers and what they hold), then stops being
    // the main run loop.
    ~RunLoop();
    RunLoop(const RunLoop&) = delete;
    RunLoop& operator=(const RunLoop&) = delete;

    // The live run loop, or null when there is none.
    static RunLoop* main();

    // Called with every run loop made from now on, for services that attach to the main
    // run loop whenever there is one (cross-process notifications).
    static void addCreationHook(std::function<void(RunLoop&)>);

    ClockMode clockMode() const { return m_mode; }
    double startTime() const { return m_startTime; }
    // Seconds since 2001-01-01 00:00:00 GMT.
    double now() const;

    // Queues `task` to run at `dueTime` (a time already past runs at the next step).
    // Ids are unique for the life of the process, so a stale id never cancels another
    // loop's task.
    TaskId schedule(double dueTime, std::function<void()> task, TaskKind = TaskKind::Work);
    // Drops a queued task; unknown or finished ids are ignored.
    void cancel(TaskId);
    bool isScheduled(TaskId id) const { return m_dueTimes.count(id) != 0; }

    // Runs everything due up to `absoluteTime` in order, then leaves the clock there
    // (virtual) or returns once the wall clock has reached it (real time). A time in the
    // past runs what is due now.
    void runUntil(double absoluteTime);
    void runFor(double seconds);
    // Looks at the read sources, then runs the first event due no later than `limit`, if
    // there is one. Virtual clock: the clock moves to that event's due time.
    bool runOneEventUntil(double limit);
    // A read source may have data that was written after the loop last looked (from this
    // process): look again before the next task, as CFRunLoopWakeUp makes a loop do.
    void wakeUp() { m_readSourcesMayHaveData = true; }

    // For hosts that keep several loops in lockstep.
    std::optional<double> nextDueTime() const;
    std::size_t pendingTaskCount() const { return m_queue.size(); }
    // Timers waiting for their next firing; flat in a steady state.
    std::size_t scheduledTimerCount() const { return m_scheduledTimerCount; }

    // Lowers (or raises) the runaway bound, for tests that check it trips.
    void setMaximumEventsPerRun(std::size_t limit) { m_maximumEventsPerRun = limit; }

    // `onReadable` runs (inside the loop) whenever `fd` has data. Re-adding an fd
    // replaces its callback.
    void addReadSource(int fd, std::function<void()> onReadable);
    void removeReadSource(int fd);

private:
    struct Task {
        std::function<void()> work;
        TaskKind kind;
    };
    using QueueKey = std::pair<double, TaskId>;

    // Calls the handlers of read sources that have data, waiting at most `timeoutSeconds`
    // for one (0: just look).
    void pollReadSources(double timeoutSeconds);
    // Runs the first task due no later than `limit` (after a look at the read sources
    // if wakeUp asked for one).
    bool runDueTask(double limit);
    void runTask(Task&&);
    [[noreturn]] void reportRunaway() const;

    ClockMode m_mode;
    double m_startTime;
    double m_virtualNow;
    std::int64_t m_realStartNanoseconds;
    std::size_t m_maximumEventsPerRun = kMaximumEventsPerRun;

    std::map<QueueKey, Task> m_queue;
    std::unordered_map<TaskId, double> m_dueTimes;
    std::size_t m_scheduledTimerCount = 0;

    // Shared so a handler that removes its own source (or another) stays alive while it runs.
    std::map<int, std::shared_ptr<std::function<void()>>> m_readSources;
    bool m_readSourcesMayHaveData = false;
};

} // namespace platform
