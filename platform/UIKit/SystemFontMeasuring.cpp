#include "SystemFontMeasuring.h"

#include "Platform/BesidePlatform.h"

#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <string>

namespace platform {

namespace {

SystemFontMeasurer loadMeasurer()
{
    std::string failure;
    void* library = openLibraryBesidePlatform("libplatformtext.so", RTLD_NOW | RTLD_LOCAL, failure);
    void* entry = library ? dlsym(library, "platformMeasureSystemFontText") : nullptr;
    if (!entry) {
        std::fprintf(stderr, "platform: cannot measure text, the text library does not load: %s\n", library ? dlerror() : failure.c_str());
        std::abort();
    }
    return reinterpret_cast<SystemFontMeasurer>(entry);
}

} // namespace

SystemFontMeasurer systemFontMeasurer()
{
    static SystemFontMeasurer measurer = loadMeasurer();
    return measurer;
}

} // namespace platform
