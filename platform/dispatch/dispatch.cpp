#include "dispatch.h"

#include "Foundation/RunLoop.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

struct dispatch_queue_s {
    const char* label;
};

namespace {

// Constant-initialised; there is nothing to construct or destroy.
dispatch_queue_s s_mainQueue { "com.apple.main-thread" };

platform::RunLoop& mainRunLoop(const char* function)
{
    auto* loop = platform::RunLoop::main();
    if (!loop) {
        std::fprintf(stderr, "%s: there is no main run loop; the host makes one before any work runs\n", function);
        std::abort();
    }
    return *loop;
}

void checkQueue(dispatch_queue_t queue, const char* function)
{
    if (queue != &s_mainQueue) {
        std::fprintf(stderr, "%s: only the main queue exists in this process\n", function);
        std::abort();
    }
}

dispatch_time_t nanosecondsSinceStart(const platform::RunLoop& loop)
{
    double elapsed = loop.now() - loop.startTime();
    return elapsed <= 0 ? 0 : static_cast<dispatch_time_t>(std::llround(elapsed * 1e9));
}

} // namespace

dispatch_queue_t dispatch_get_main_queue()
{
    return &s_mainQueue;
}

dispatch_time_t dispatch_time(dispatch_time_t when, std::int64_t deltaNanoseconds)
{
    if (when == DISPATCH_TIME_FOREVER)
        return DISPATCH_TIME_FOREVER;
    if (when == DISPATCH_TIME_NOW)
        when = nanosecondsSinceStart(mainRunLoop("dispatch_time"));
    if (deltaNanoseconds < 0) {
        auto back = static_cast<dispatch_time_t>(-(deltaNanoseconds + 1)) + 1;
        return back >= when ? 0 : when - back;
    }
    auto forward = static_cast<dispatch_time_t>(deltaNanoseconds);
    // Saturates rather than wrapping round into the past.
    return forward >= DISPATCH_TIME_FOREVER - when ? DISPATCH_TIME_FOREVER : when + forward;
}

void dispatch_after(dispatch_time_t when, dispatch_queue_t queue, dispatch_block_t block)
{
    checkQueue(queue, "dispatch_after");
    if (when == DISPATCH_TIME_FOREVER || !block)
        return;
    auto& loop = mainRunLoop("dispatch_after");
    // Measured from now rather than from the start: dispatch_time(DISPATCH_TIME_NOW, d)
    // then lands on exactly now + d seconds, the instant runFor(d) stops at, with no
    // rounding through nanoseconds.
    double due = loop.now();
    if (when != DISPATCH_TIME_NOW) {
        dispatch_time_t current = nanosecondsSinceStart(loop);
        if (when >= current)
            due += static_cast<double>(when - current) / 1e9;
        else
            due -= static_cast<double>(current - when) / 1e9;
    }
    loop.schedule(due, std::move(block));
}

void dispatch_async(dispatch_queue_t queue, dispatch_block_t block)
{
    checkQueue(queue, "dispatch_async");
    if (!block)
        return;
    auto& loop = mainRunLoop("dispatch_async");
    loop.schedule(loop.now(), std::move(block));
}
