#pragma once
// Reads the variables a loaded tweak exports, by name, as a host sees them.

#include <nlohmann/json.hpp>

namespace sim {

// Every exported variable of the tweak as JSON: the settings its table lists (booleans,
// objects as their stored value), the layout constants, HomeFrame as [x, y, w, h], and
// the SpringBoard objects as their class name (or null). Missing symbols (no tweak loaded) are left out.
// `tweak` is the library's dlopen handle (RTLD_DEFAULT searches every loaded library).
nlohmann::json readTweakGlobals(void* tweak);

// The tweak's settings table (its exported `lumetrixSettings`), one object per setting:
// key, type ("bool" or "object"), variable and default. Empty without a tweak.
nlohmann::json readTweakSettingsTable(void* tweak);

} // namespace sim
