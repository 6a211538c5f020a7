#include "RunLoop.h"

#include "objc/runtime.h"

#include <poll.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace platform {

namespace {

// Plain pointers, constant-initialised: no global object runs code at start-up or exit.
RunLoop* s_mainRunLoop = nullptr;
RunLoop::TaskId s_lastTaskId = 0;

std::vector<std::function<void(RunLoop&)>>& creationHooks()
{
    static auto* hooks = new std::vector<std::function<void(RunLoop&)>>;
    return *hooks;
}

std::int64_t steadyNanoseconds()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

} // namespace

RunLoop::RunLoop(ClockMode mode, double startAbsoluteTime)
    : m_mode(mode)
    , m_startTime(startAbsoluteTime)
    , m_virtualNow(startAbsoluteTime)
    , m_realStartNanoseconds(steadyNanoseconds())
{
    if (s_mainRunLoop) {
        std::fprintf(stderr, "RunLoop: a main run loop already exists; a process has exactly one\n");
        std::abort();
    }
    s_mainRunLoop = this;
    // A copy, so a hook that adds another hook does not disturb the walk.
    auto hooks = creationHooks();
    for (auto& hook : hooks)
        hook(*this);
}

RunLoop::~RunLoop()
{
    objc::AutoreleasePool pool;
    // Dropping a task can release its timer, whose target may cancel or queue more work
    // while it dies; take the queue out first and repeat until nothing is left.
    for (std::size_t round = 0; !m_queue.empty(); ++round) {
        if (round > m_maximumEventsPerRun)
            reportRunaway();
        auto dropped = std::exchange(m_queue, {});
        m_dueTimes.clear();
        m_scheduledTimerCount = 0;
        dropped.clear();
    }
    m_readSources.clear();
    s_mainRunLoop = nullptr;
}

RunLoop* RunLoop::main()
{
    return s_mainRunLoop;
}

void RunLoop::addCreationHook(std::function<void(RunLoop&)> hook)
{
    creationHooks().push_back(std::move(hook));
}

double RunLoop::now() const
{
    if (m_mode == ClockMode::Virtual)
        return m_virtualNow;
    return m_startTime + static_cast<double>(steadyNanoseconds() - m_realStartNanoseconds) / 1e9;
}

RunLoop::TaskId RunLoop::schedule(double dueTime, std::function<void()> task, TaskKind kind)
{
    if (!std::isfinite(dueTime)) {
        std::fprintf(stderr, "RunLoop: cannot schedule a task at a non-finite time\n");
        std::abort();
    }
    TaskId id = ++s_lastTaskId;
    m_queue.emplace(QueueKey { dueTime, id }, Task { std::move(task), kind });
    m_dueTimes.emplace(id, dueTime);
    if (kind == TaskKind::Timer)
        ++m_scheduledTimerCount;
    return id;
}

void RunLoop::cancel(TaskId id)
{
    auto due = m_dueTimes.find(id);
    if (due == m_dueTimes.end())
        return;
    auto entry = m_queue.find(QueueKey { due->second, id });
    m_dueTimes.erase(due);
    // The task is destroyed only after the queue is consistent again: its captures may
    // be the last references to objects whose destruction calls back into the loop.
    Task dropped = std::move(entry->second);
    m_queue.erase(entry);
    if (dropped.kind == TaskKind::Timer)
        --m_scheduledTimerCount;
}

std::optional<double> RunLoop::nextDueTime() const
{
    if (m_queue.empty())
        return std::nullopt;
    return m_queue.begin()->first.first;
}

bool RunLoop::runOneEventUntil(double limit)
{
    m_readSourcesMayHaveData = true;
    return runDueTask(limit);
}

bool RunLoop::runDueTask(double limit)
{
    if (m_readSourcesMayHaveData) {
        m_readSourcesMayHaveData = false;
        if (!m_readSources.empty())
            pollReadSources(0);
    }
    if (m_queue.empty())
        return false;
    auto first = m_queue.begin();
    double due = first->first.first;
    if (due > limit)
        return false;
    if (m_mode == ClockMode::RealTime && due > now())
        return false;
    if (m_mode == ClockMode::Virtual)
        m_virtualNow = std::max(m_virtualNow, due);

    m_dueTimes.erase(first->first.second);
    Task task = std::move(first->second);
    m_queue.erase(first);
    if (task.kind == TaskKind::Timer)
        --m_scheduledTimerCount;
    runTask(std::move(task));
    return true;
}

void RunLoop::runUntil(double absoluteTime)
{
    std::size_t events = 0;
    m_readSourcesMayHaveData = true;
    if (m_mode == ClockMode::Virtual) {
        double target = std::max(absoluteTime, m_virtualNow);
        while (runDueTask(target)) {
            if (++events > m_maximumEventsPerRun)
                reportRunaway();
        }
        m_virtualNow = target;
        return;
    }

    for (;;) {
        m_readSourcesMayHaveData = true;
        while (runDueTask(std::min(absoluteTime, now()))) {
            if (++events > m_maximumEventsPerRun)
                reportRunaway();
        }
        double current = now();
        if (current >= absoluteTime)
            return;
        double wake = absoluteTime;
        if (auto next = nextDueTime())
            wake = std::min(wake, *next);
        // Sleeps until the next due event, waking early if another process writes to us.
        pollReadSources(std::max(0.0, wake - current));
    }
}

void RunLoop::runFor(double seconds)
{
    runUntil(now() + seconds);
}

void RunLoop::addReadSource(int fd, std::function<void()> onReadable)
{
    m_readSources[fd] = std::make_shared<std::function<void()>>(std::move(onReadable));
    // It may hold data already.
    m_readSourcesMayHaveData = true;
}

void RunLoop::removeReadSource(int fd)
{
    m_readSources.erase(fd);
}

void RunLoop::pollReadSources(double timeoutSeconds)
{
    std::vector<pollfd> fds;
    fds.reserve(m_readSources.size());
    for (auto& [fd, handler] : m_readSources)
        fds.push_back({ fd, POLLIN, 0 });

    timespec timeout {};
    double whole = std::floor(timeoutSeconds);
    timeout.tv_sec = static_cast<time_t>(whole);
    timeout.tv_nsec = static_cast<long>(std::min(999'999'999.0, (timeoutSeconds - whole) * 1e9));
    int ready = ppoll(fds.data(), fds.size(), &timeout, nullptr);
    if (ready <= 0)
        return;

    for (auto& polled : fds) {
        if (!polled.revents)
            continue;
        auto source = m_readSources.find(polled.fd);
        // An earlier handler in this round may have removed it.
        if (source == m_readSources.end())
            continue;
        if (polled.revents & POLLNVAL) {
            // Closed without being removed: it can never become readable again.
            m_readSources.erase(source);
            continue;
        }
        auto handler = source->second;
        objc::AutoreleasePool pool;
        (*handler)();
    }
}

void RunLoop::runTask(Task&& task)
{
    objc::AutoreleasePool pool;
    // The work is moved into this frame first: it may destroy whatever queued it. It
    // dies before the pool drains, so what its captures autorelease is drained too.
    auto work = std::move(task.work);
    if (work)
        work();
}

void RunLoop::reportRunaway() const
{
    std::fprintf(stderr,
        "RunLoop: more than %zu events in one run at time %.6f; something keeps queueing work "
        "(a zero-delay task rescheduling itself?)\n",
        m_maximumEventsPerRun, now());
    std::abort();
}

} // namespace platform
