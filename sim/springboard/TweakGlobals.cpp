#include "TweakGlobals.h"

#include "CoreGraphics/CGGeometry.h"
#include "Foundation/NSObject.h"

#include <dlfcn.h>

namespace sim {

namespace {

void* g_library = RTLD_DEFAULT;

template<typename T>
T* symbol(const char* name)
{
    return static_cast<T*>(dlsym(g_library, name));
}

} // namespace

nlohmann::json readTweakGlobals(void* tweak)
{
    g_library = tweak;
    nlohmann::json globals = nlohmann::json::object();
    for (const char* name : { "enable", "songtitlebg", "hidelsplayer", "alwaysshow", "swipetoskip", "dynamicenabled",
             "homebardynamic", "restorehomebartowhite", "initialStart" }) {
        if (auto value = symbol<bool>(name))
            globals[name] = *value;
    }
    for (const char* name : { "fadeoutspeed", "barwidth" }) {
        if (auto value = symbol<id>(name))
            globals[name] = *value ? static_cast<NSObject*>(*value)->jsonValue() : nlohmann::json(nullptr);
    }
    for (const char* name : { "bottomConstant", "iconConstant", "TouchConstant", "HomeBarOffSetContant", "AppHomeBarOffset" }) {
        if (auto value = symbol<int>(name))
            globals[name] = *value;
    }
    if (auto frame = symbol<CGRect>("HomeFrame"))
        globals["HomeFrame"] = { frame->origin.x, frame->origin.y, frame->size.width, frame->size.height };
    for (const char* name : { "pfs", "rootwindow", "appwindow" }) {
        if (auto value = symbol<id>(name))
            globals[name] = *value ? nlohmann::json(class_getName(object_getClass(*value))) : nlohmann::json(nullptr);
    }
    return globals;
}

} // namespace sim
