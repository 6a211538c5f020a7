#pragma once
// The window the cover sheet (lock screen) is shown in, above the apps.

#include "SBMainSwitcherWindow.h"

class SBCoverSheetWindow : public SBWindow {
    OBJC_INTERFACE(SBCoverSheetWindow)
public:
    SBCoverSheetWindow() = default;
    static void registerRuntimeClass();
};
