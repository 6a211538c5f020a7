// Loads the renderer (libsimrender.so, beside libplatform.so) at the first picture.

#include "sim/render/Pictures.h"

#include "Platform/BesidePlatform.h"

#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <string>

namespace sim::render {

namespace {

const Pictures* loadRenderer()
{
    std::string failure;
    void* library = platform::openLibraryBesidePlatform("libsimrender.so", RTLD_NOW | RTLD_LOCAL, failure);
    auto entry = library ? reinterpret_cast<decltype(&lumetrixSimPictures)>(dlsym(library, "lumetrixSimPictures")) : nullptr;
    if (!entry) {
        std::fprintf(stderr, "lumetrix-sim: cannot take pictures, the renderer does not load: %s\n", library ? dlerror() : failure.c_str());
        std::exit(2);
    }
    return entry();
}

} // namespace

const Pictures& pictures()
{
    static const Pictures* renderer = loadRenderer();
    return *renderer;
}

} // namespace sim::render
