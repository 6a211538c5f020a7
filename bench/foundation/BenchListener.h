#pragma once
// A plain NSObject subclass that counts the messages it hears, for benchmarks of the
// Foundation machinery that sends messages to observers and timer targets. Counting lets
// a benchmark prove afterwards that every delivery really reached the runtime method.

#include "Foundation/NSObject.h"

class BenchListener : public NSObject {
    OBJC_INTERFACE(BenchListener)
public:
    BenchListener() = default;

    long heard() const { return m_heard; }

    // Defines the runtime class and its methods ("noteHeard:" takes the notification or
    // timer) on first use; needs Foundation registered.
    static void registerRuntimeClass();

private:
    static void noteHeard(BenchListener*, SEL, id);

    long m_heard = 0;
};
