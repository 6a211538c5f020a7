#include "SystemFontMeasuring.h"

#include "Platform/BesidePlatform.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace platform {

namespace {

SystemFontMeasurer loadMeasurer()
{
    std::string failure;
    void* entry = entryBesidePlatform("libplatformtext.so", "platformMeasureSystemFontText", failure);
    if (!entry) {
        std::fprintf(stderr, "platform: cannot measure text, the text library does not load: %s\n", failure.c_str());
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
