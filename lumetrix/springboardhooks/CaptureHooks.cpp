// Records the cover-sheet view and the switcher window as SpringBoard makes them, so the
// lock-screen player can reach the cover sheet.

#include "startup/Globals.h"
#include "startup/Hooks.h"

#include "SpringBoard/CSCoverSheetView.h"
#include "SpringBoard/SBMainSwitcherWindow.h"

namespace lumetrix {

void (*orig_SBMainSwitcherWindow_setFrame)(SBMainSwitcherWindow*, SEL, CGRect);
id (*orig_CSCoverSheetView_initWithFrame)(CSCoverSheetView*, SEL, CGRect);

void hook_SBMainSwitcherWindow_setFrame(SBMainSwitcherWindow* self, SEL _cmd, CGRect frame)
{
    assignStrong(appwindow, self);
    orig_SBMainSwitcherWindow_setFrame(self, _cmd, frame);
}

id hook_CSCoverSheetView_initWithFrame(CSCoverSheetView* self, SEL _cmd, CGRect frame)
{
    // Recorded before the view's own initialisation runs.
    assignStrong(rootwindow, self);
    return orig_CSCoverSheetView_initWithFrame(self, _cmd, frame);
}

} // namespace lumetrix
