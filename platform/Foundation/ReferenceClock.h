#pragma once
// The platform's one clock, in seconds since the reference date 2001-01-01 00:00:00 GMT:
// the main run loop's time, or the wall clock when there is no run loop. NSDate, NSLog
// and CoreFoundation's absolute time all read it, so CoreFoundation builds on Foundation
// and never the other way round.

namespace platform {

double referenceClockNow();

} // namespace platform
