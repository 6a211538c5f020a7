#pragma once
// NSRunLoop: Foundation's face of the main run loop (platform::RunLoop), for code that
// asks for "the current run loop". Everything runs on one thread, so the current loop
// is always the main one.

#include "NSObject.h"

class NSDate;

namespace platform {
class RunLoop;
void registerFoundationTimeClasses();
}

class NSRunLoop : public NSObject {
    OBJC_INTERFACE(NSRunLoop)
public:
    NSRunLoop() = default;

    // One face per process, whichever platform loop is alive behind it.
    static NSRunLoop* mainRunLoop();
    static NSRunLoop* currentRunLoop() { return mainRunLoop(); }

    // Runs everything due until `date`; with the virtual clock, time jumps there.
    void runUntilDate(const NSDate*);

    // The loop behind the face, or null when the host has not made one.
    platform::RunLoop* runLoop() const;

private:
    friend void platform::registerFoundationTimeClasses();
    static void runUntilDateMethod(NSRunLoop*, SEL, id date);
};
