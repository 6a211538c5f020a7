#include "Globals.h"

extern "C" {

HBPreferences* pfs = nullptr;

// Each setting starts as its default (an object setting as nil until the store binds it).
#define LUMETRIX_DEFINE_BOOL_SETTING(variable, key, fallback) bool variable = fallback;
#define LUMETRIX_DEFINE_OBJECT_SETTING(variable, key, fallback) id variable = nullptr;
LUMETRIX_SETTINGS(LUMETRIX_DEFINE_BOOL_SETTING, LUMETRIX_DEFINE_OBJECT_SETTING)
#undef LUMETRIX_DEFINE_BOOL_SETTING
#undef LUMETRIX_DEFINE_OBJECT_SETTING

int bottomConstant = 0;
int iconConstant = 0;
int TouchConstant = 0;
int HomeBarOffSetContant = 0;
int AppHomeBarOffset = 0;

CSCoverSheetView* rootwindow = nullptr;
SBMainSwitcherWindow* appwindow = nullptr;

CGRect HomeFrame = { { 0, 0 }, { 0, 0 } };

bool initialStart = false;
}
