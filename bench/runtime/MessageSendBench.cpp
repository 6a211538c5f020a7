// The cost of a message send once the class's lookup cache is warm, against a direct
// C++ call through a function pointer as the floor.

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
