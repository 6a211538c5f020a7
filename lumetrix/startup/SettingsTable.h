#pragma once
// The tweak's settings, one row each: the exported variable, the key in the settings file,
// and the default. A new setting is a row here (and its cell in the pane's Root.plist,
// which the pane tests check against this table): the variable's declaration and
// definition, its registration with the store, the exported table and the simulator's
// dump all follow from the row.
//
// BOOL_SETTING(variable, key, default) binds a bool; OBJECT_SETTING(variable, key, default)
// binds an id whose default is a string (the two widths are strings or numbers, read
// through floatValue).
#define LUMETRIX_SETTINGS(BOOL_SETTING, OBJECT_SETTING)   \
    BOOL_SETTING(enable, "enabled", true)                 \
    BOOL_SETTING(songtitlebg, "songtitlebg", false)       \
    BOOL_SETTING(hidelsplayer, "hidelsplayer", false)     \
    BOOL_SETTING(alwaysshow, "alwaysshow", false)         \
    BOOL_SETTING(swipetoskip, "swipetoskip", false)       \
    OBJECT_SETTING(fadeoutspeed, "fadeoutspeed", "20.0")  \
    OBJECT_SETTING(barwidth, "barwidth", "140.0")         \
    BOOL_SETTING(dynamicenabled, "dynamicenabled", false) \
    BOOL_SETTING(homebardynamic, "homebardynamic", true)  \
    BOOL_SETTING(restorehomebartowhite, "restorehomebartowhite", true)
