#pragma once

namespace lumetrix {

inline constexpr const char* kPreferencesIdentifier = "com.orvanta.lumetrix";

// Creates the settings store in `pfs` (releasing any store held there before) and binds
// the ten settings to their variables, in their fixed order.
void registerSettings();

} // namespace lumetrix
