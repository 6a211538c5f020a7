#include "TweakGlobals.h"

#include "CoreGraphics/CGGeometry.h"
#include "Foundation/NSObject.h"
#include "lumetrix/startup/SettingRow.h"

#include <dlfcn.h>

#include <string>
#include <string_view>

namespace sim {

namespace {

void* g_library = RTLD_DEFAULT;

template<typename T>
T* symbol(const char* name)
{
    return static_cast<T*>(dlsym(g_library, name));
}

} // namespace

nlohmann::json readTweakSettingsTable(void* tweak)
{
    g_library = tweak;
    nlohmann::json rows = nlohmann::json::array();
    auto table = symbol<const LumetrixSettingRow>("lumetrixSettings");
    for (const LumetrixSettingRow* row = table; row && row->key; ++row) {
        bool isBool = std::string_view(row->type) == "bool";
        rows.push_back({ { "key", row->key }, { "type", row->type }, { "variable", row->variable },
            { "default", isBool ? nlohmann::json(row->boolDefault) : nlohmann::json(row->objectDefault) } });
    }
    return rows;
}

nlohmann::json readTweakGlobals(void* tweak)
{
    nlohmann::json globals = nlohmann::json::object();
    // The settings, as the tweak's own table lists them.
    for (const nlohmann::json& row : readTweakSettingsTable(tweak)) {
        std::string name = row["variable"];
        if (row["type"] == "bool") {
            if (auto value = symbol<bool>(name.c_str()))
                globals[name] = *value;
        } else if (auto value = symbol<id>(name.c_str())) {
            globals[name] = *value ? static_cast<NSObject*>(*value)->jsonValue() : nlohmann::json(nullptr);
        }
    }
    if (auto value = symbol<bool>("initialStart"))
        globals["initialStart"] = *value;
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
