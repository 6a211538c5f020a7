#pragma once
// CoreFoundation's absolute time: seconds since 2001-01-01 00:00:00 GMT, read from the
// same clock as the run loop, NSDate and dispatch.

class NSDate;

using CFAbsoluteTime = double;
using CFTimeInterval = double;
// Toll-free bridged: a CFDateRef is an NSDate.
using CFDateRef = const NSDate*;

constexpr double kCFAbsoluteTimeIntervalSince1970 = 978307200.0;

// The main run loop's time; the wall clock when there is no run loop.
CFAbsoluteTime CFAbsoluteTimeGetCurrent();
CFAbsoluteTime CFDateGetAbsoluteTime(CFDateRef);
