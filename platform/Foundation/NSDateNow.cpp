// NSDate's "now" lives apart from the value class and reads the platform's reference
// clock, so every date reads the same clock as timers and dispatch.
#include "NSDate.h"

#include "ReferenceClock.h"

objc::RefPtr<NSDate> NSDate::date()
{
    return dateWithTimeIntervalSinceReferenceDate(platform::referenceClockNow());
}
