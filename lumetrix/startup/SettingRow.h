#pragma once
// One row of the settings table as the tweak exports it, read with dlsym by hosts that
// never link the tweak (the simulator's globals dump, the pane's checks). Plain C data
// only, so the layout is the same on both sides.

extern "C" {

struct LumetrixSettingRow {
    const char* key; // the key in the settings file and in the pane's Root.plist
    const char* type; // "bool" or "object"
    const char* variable; // the exported variable the store keeps equal to the value
    bool boolDefault; // the default of a "bool" row
    const char* objectDefault; // the default of an "object" row, a string
};

// Every setting, in registration order, ended by a row whose key is null.
extern const LumetrixSettingRow lumetrixSettings[];
}
