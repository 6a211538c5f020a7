#include "VirtualCounter.h"

namespace {

struct VirtualCounter final : VirtualCounterBase {
    long count = 0;
    long increment(long by) override { return count += by; }
};

} // namespace

VirtualCounterBase* makeVirtualCounter()
{
    return new VirtualCounter;
}
