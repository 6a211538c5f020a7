#include "Globals.h"

extern "C" {

HBPreferences* pfs = nullptr;

bool enable = true;
bool songtitlebg = false;
bool hidelsplayer = false;
bool alwaysshow = false;
bool swipetoskip = false;
id fadeoutspeed = nullptr;
id barwidth = nullptr;
bool dynamicenabled = false;
bool homebardynamic = true;
bool restorehomebartowhite = true;

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
