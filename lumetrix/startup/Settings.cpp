#include "Settings.h"

#include "Globals.h"
#include "SettingRow.h"

#include "Cephei/HBPreferences.h"

extern "C" {

#define LUMETRIX_BOOL_ROW(variable, key, fallback) { key, "bool", #variable, fallback, nullptr },
#define LUMETRIX_OBJECT_ROW(variable, key, fallback) { key, "object", #variable, false, fallback },
const LumetrixSettingRow lumetrixSettings[] = {
    LUMETRIX_SETTINGS(LUMETRIX_BOOL_ROW, LUMETRIX_OBJECT_ROW) { nullptr, nullptr, nullptr, false, nullptr },
};
#undef LUMETRIX_BOOL_ROW
#undef LUMETRIX_OBJECT_ROW
}

namespace lumetrix {

void registerSettings()
{
    auto store = HBPreferences::alloc()->initWithIdentifier(NSString::create(kPreferencesIdentifier).get());
    assignStrong(pfs, store.get());

#define LUMETRIX_REGISTER_BOOL(variable, key, fallback) pfs->registerBool(&variable, fallback, NSString::create(key).get());
#define LUMETRIX_REGISTER_OBJECT(variable, key, fallback) pfs->registerObject(&variable, NSString::create(fallback).get(), NSString::create(key).get());
    LUMETRIX_SETTINGS(LUMETRIX_REGISTER_BOOL, LUMETRIX_REGISTER_OBJECT)
#undef LUMETRIX_REGISTER_BOOL
#undef LUMETRIX_REGISTER_OBJECT
}

} // namespace lumetrix
