// The cost of one post on the process's notification centre, delivered to a number of
// selector observers, each delivery a checked message send through the runtime. The
// tweak's players hear their colour and now-playing updates this way, several observers
// per post, on every track change and once a second for progress.

#include "BenchListener.h"
#include "PlatformFixture.h"

#include "Foundation/NSNotificationCenter.h"
#include "Foundation/NSString.h"

#include <vector>

namespace {

BENCHMARK_DEFINE_F(PlatformFixture, NotificationPost_SelectorObservers)(benchmark::State& state)
{
    BenchListener::registerRuntimeClass();
    auto* center = NSNotificationCenter::defaultCenter();
    auto name = NSString::create("BenchNotification");
    std::vector<objc::RefPtr<BenchListener>> listeners;
    for (long i = 0; i < state.range(0); ++i) {
        listeners.push_back(BenchListener::alloc());
        center->addObserver(listeners.back().get(), "noteHeard:"_sel, name.get(), nil);
    }

    {
        // Nothing should be autoreleased per post, but if something is, it must not
        // pile up across millions of iterations.
        objc::AutoreleasePool pool;
        for (auto _ : state)
            center->postNotificationName(name.get(), nil);
    }

    for (auto& listener : listeners) {
        if (listener->heard() != static_cast<long>(state.iterations()))
            state.SkipWithError("an observer missed a post");
        center->removeObserver(listener.get());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetLabel("items = deliveries");
}
BENCHMARK_REGISTER_F(PlatformFixture, NotificationPost_SelectorObservers)->Arg(1)->Arg(10)->Arg(100);

} // namespace
