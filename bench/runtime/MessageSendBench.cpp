// The cost of a message send once the class's lookup cache is warm, against a C++
// virtual call as the floor (the goal: a send written as the tweak writes it, selector
// literal at the call site, within twice the floor) and a direct call through a function
// pointer for reference. Run with --benchmark_repetitions=9 and compare medians of
// CPU time.

#include "VirtualCounter.h"

#include "objc/runtime.h"

#include <benchmark/benchmark.h>

namespace {

class Counter : public objc::Object {
public:
    long count = 0;
};

long increment(id self, SEL, long by)
{
    return static_cast<Counter*>(self)->count += by;
}

struct Classes {
    Class base;
    Class leaf;
};

const Classes& classes()
{
    static Classes made = [] {
        Classes c;
        c.base = objc::defineClass<Counter>("BenchCounterBase", nullptr);
        Class middle = objc::registerClass("BenchCounterMiddle", c.base, nullptr);
        c.leaf = objc::registerClass("BenchCounterLeaf", middle, nullptr);
        objc::addMethod(c.base, "increment:", &increment);
        return c;
    }();
    return made;
}

void BM_MessageSend_Cached(benchmark::State& state)
{
    auto object = objc::createInstance(classes().leaf);
    SEL sel = "increment:"_sel;
    objc_msgSend<long>(object.get(), sel, 1L);
    for (auto _ : state)
        benchmark::DoNotOptimize(objc_msgSend<long>(object.get(), sel, 1L));
}
BENCHMARK(BM_MessageSend_Cached);

// Exactly as tweak code reads: the selector literal at the call site, inside the loop.
void BM_MessageSend_LiteralAtCallSite(benchmark::State& state)
{
    auto object = objc::createInstance(classes().leaf);
    for (auto _ : state)
        benchmark::DoNotOptimize(objc_msgSend<long>(object.get(), "increment:"_sel, 1L));
}
BENCHMARK(BM_MessageSend_LiteralAtCallSite);

// The floor: a virtual call the compiler cannot resolve (VirtualCounter.cpp).
void BM_VirtualCall_Floor(benchmark::State& state)
{
    VirtualCounterBase* object = makeVirtualCounter();
    for (auto _ : state) {
        benchmark::DoNotOptimize(object);
        benchmark::DoNotOptimize(object->increment(1L));
    }
    delete object;
}
BENCHMARK(BM_VirtualCall_Floor);

void BM_DirectCall_Baseline(benchmark::State& state)
{
    auto object = objc::createInstance(classes().leaf);
    long (*volatile function)(id, SEL, long) = &increment;
    SEL sel = "increment:"_sel;
    for (auto _ : state)
        benchmark::DoNotOptimize(function(object.get(), sel, 1L));
}
BENCHMARK(BM_DirectCall_Baseline);

} // namespace
