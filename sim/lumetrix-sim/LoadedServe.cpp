#include "LoadedServe.h"

#include "run/ScenarioRun.h"

#include "Platform/BesidePlatform.h"

#include <cstdio>
#include <dlfcn.h>
#include <string>

namespace sim {

int serveLoadedLivePhone(const ServeOptions& options)
{
    std::string failure;
    void* library = platform::openLibraryBesidePlatform("libsimserve.so", RTLD_NOW | RTLD_LOCAL, failure);
    auto entry = library ? reinterpret_cast<decltype(&lumetrixServeLivePhone)>(dlsym(library, "lumetrixServeLivePhone")) : nullptr;
    if (!entry) {
        std::fprintf(stderr, "lumetrix-sim: cannot serve, the live phone's server does not load: %s\n", library ? dlerror() : failure.c_str());
        return ExitUsage;
    }
    return entry(&options);
}

} // namespace sim
