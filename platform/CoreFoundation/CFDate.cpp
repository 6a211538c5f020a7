#include "CFDate.h"

#include "Foundation/NSDate.h"
#include "Foundation/RunLoop.h"

#include <chrono>

CFAbsoluteTime CFAbsoluteTimeGetCurrent()
{
    if (auto* loop = platform::RunLoop::main())
        return loop->now();
    auto sinceEpoch = std::chrono::system_clock::now().time_since_epoch();
    return std::chrono::duration<double>(sinceEpoch).count() - kCFAbsoluteTimeIntervalSince1970;
}

CFAbsoluteTime CFDateGetAbsoluteTime(CFDateRef date)
{
    return date ? date->timeIntervalSinceReferenceDate() : 0;
}
