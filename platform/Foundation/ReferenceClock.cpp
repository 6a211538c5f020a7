#include "ReferenceClock.h"

#include "NSDate.h"
#include "RunLoop.h"

#include <chrono>

namespace platform {

double referenceClockNow()
{
    if (auto* loop = RunLoop::main())
        return loop->now();
    auto sinceEpoch = std::chrono::system_clock::now().time_since_epoch();
    return std::chrono::duration<double>(sinceEpoch).count() - NSDate::timeIntervalBetween1970AndReferenceDate;
}

} // namespace platform
