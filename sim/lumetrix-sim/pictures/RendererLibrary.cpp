// Loads the renderer (libsimrender.so, beside libplatform.so) at the first picture.

#include "sim/render/Pictures.h"

#include "Platform/BesidePlatform.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace sim::render {

namespace {

const Pictures* loadRenderer()
{
    std::string failure;
    auto entry = reinterpret_cast<decltype(&lumetrixSimPictures)>(platform::entryBesidePlatform("libsimrender.so", "lumetrixSimPictures", failure));
    if (!entry) {
        std::fprintf(stderr, "lumetrix-sim: cannot take pictures, the renderer does not load: %s\n", failure.c_str());
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
