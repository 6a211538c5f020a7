#pragma once
// The app switcher's window. Apps' scenes are shown in it; SpringBoard gives it the
// screen's frame when it sets up. It does not override setFrame: (UIView's answers).

#include "UIKit/UIWindow.h"

class SBWindow : public UIWindow {
    OBJC_INTERFACE(SBWindow)
public:
    SBWindow() = default;
    static void registerRuntimeClass();
};

class SBMainSwitcherWindow : public SBWindow {
    OBJC_INTERFACE(SBMainSwitcherWindow)
public:
    SBMainSwitcherWindow() = default;
    static void registerRuntimeClass();
};
