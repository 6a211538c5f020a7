#include "CFDate.h"

#include "Foundation/NSDate.h"
#include "Foundation/ReferenceClock.h"

CFAbsoluteTime CFAbsoluteTimeGetCurrent()
{
    return platform::referenceClockNow();
}

CFAbsoluteTime CFDateGetAbsoluteTime(CFDateRef date)
{
    return date ? date->timeIntervalSinceReferenceDate() : 0;
}
