#include "LoadedServe.h"

#include "run/ScenarioRun.h"

#include "Platform/BesidePlatform.h"

#include <cstdio>
#include <string>

namespace sim {

int serveLoadedLivePhone(const ServeOptions& options)
{
    std::string failure;
    auto entry = reinterpret_cast<decltype(&lumetrixServeLivePhone)>(platform::entryBesidePlatform("libsimserve.so", "lumetrixServeLivePhone", failure));
    if (!entry) {
        std::fprintf(stderr, "lumetrix-sim: cannot serve, the live phone's server does not load: %s\n", failure.c_str());
        return ExitUsage;
    }
    return entry(&options);
}

} // namespace sim
