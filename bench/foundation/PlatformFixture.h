#pragma once
// A Google Benchmark fixture that makes sure every platform class is registered before a
// benchmark touches Foundation or UIKit. Registration happens once per process; later
// calls return at once, so it costs nothing inside a timed run.

#include "Platform/Platform.h"

#include <benchmark/benchmark.h>

class PlatformFixture : public benchmark::Fixture {
public:
    // Both SetUp overloads stay visible; only the const one is refined here.
    using benchmark::Fixture::SetUp;
    void SetUp(const benchmark::State&) override { platform::registerClasses(); }
};
