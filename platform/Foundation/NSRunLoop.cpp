#include "NSRunLoop.h"

#include "NSDate.h"
#include "RunLoop.h"

#include <cstdio>
#include <cstdlib>

NSRunLoop* NSRunLoop::mainRunLoop()
{
    static NSRunLoop* face = [] {
        if (!staticClass()) {
            std::fprintf(stderr, "NSRunLoop: Foundation's classes are not registered yet\n");
            std::abort();
        }
        return alloc().leakRef();
    }();
    return face;
}

platform::RunLoop* NSRunLoop::runLoop() const
{
    return platform::RunLoop::main();
}

void NSRunLoop::runUntilDate(const NSDate* date)
{
    objc_msgSend<void>(this, "runUntilDate:"_sel, static_cast<id>(const_cast<NSDate*>(date)));
}

void NSRunLoop::runUntilDateMethod(NSRunLoop* self, SEL, id date)
{
    auto* limit = objc_cast<NSDate>(date);
    platform::RunLoop* loop = self->runLoop();
    if (!limit || !loop)
        return;
    loop->runUntil(limit->timeIntervalSinceReferenceDate());
}
