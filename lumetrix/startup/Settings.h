#pragma once

namespace lumetrix {

inline constexpr const char* kPreferencesIdentifier = "com.orvanta.lumetrix";

// Creates the settings store in `pfs` (releasing any store held there before) and binds
// every setting of SettingsTable.h to its variable, in the table's order.
void registerSettings();

} // namespace lumetrix
