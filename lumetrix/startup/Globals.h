#pragma once
// The tweak's process-wide variables. They are exported under exactly these names (C
// linkage, no mangling) so that a host or a test can find them with dlsym.

#include "SettingsTable.h"

#include "CoreGraphics/CGGeometry.h"
#include "objc/objc.h"

class HBPreferences;
class CSCoverSheetView;
class SBMainSwitcherWindow;

extern "C" {

// The settings store, held for the life of the process.
extern HBPreferences* pfs;

// Settings, bound to the store at start-up and kept equal to the stored values (one row
// each in SettingsTable.h).
#define LUMETRIX_DECLARE_BOOL_SETTING(variable, key, fallback) extern bool variable;
#define LUMETRIX_DECLARE_OBJECT_SETTING(variable, key, fallback) extern id variable;
LUMETRIX_SETTINGS(LUMETRIX_DECLARE_BOOL_SETTING, LUMETRIX_DECLARE_OBJECT_SETTING)
#undef LUMETRIX_DECLARE_BOOL_SETTING
#undef LUMETRIX_DECLARE_OBJECT_SETTING

// Layout constants in points, chosen once at start-up (standard or companion set).
extern int bottomConstant;
extern int iconConstant;
extern int TouchConstant;
extern int HomeBarOffSetContant;
extern int AppHomeBarOffset;

// SpringBoard objects recorded by the capture hooks (strong references).
extern CSCoverSheetView* rootwindow;
extern SBMainSwitcherWindow* appwindow;

// The home affordance's frame when its strip was last built.
extern CGRect HomeFrame;

// Whether a centre tap has happened in this process, in either player.
extern bool initialStart;
}

namespace lumetrix {

// Replaces what `*slot` holds with `object`, retaining it and releasing the previous one.
template<typename T>
void assignStrong(T*& slot, T* object)
{
    if (object)
        object->retain();
    T* old = slot;
    slot = object;
    if (old)
        old->release();
}

} // namespace lumetrix
