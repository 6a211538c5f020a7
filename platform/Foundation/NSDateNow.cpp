// NSDate's "now" lives beside the clock rather than with the value class, so every date
// reads the same clock as timers and dispatch.
#include "NSDate.h"

#include "CoreFoundation/CFDate.h"

objc::RefPtr<NSDate> NSDate::date()
{
    return dateWithTimeIntervalSinceReferenceDate(CFAbsoluteTimeGetCurrent());
}
