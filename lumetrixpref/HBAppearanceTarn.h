#pragma once
// The pane's look: a violet, opaque bar without a hairline, a white title, controls and
// status bar in the label colour, and never a large title.

#include "CepheiPrefs/HBAppearanceSettings.h"

class HBAppearanceTarn : public HBAppearanceSettings {
    OBJC_INTERFACE(HBAppearanceTarn)
public:
    HBAppearanceTarn() = default;

    // The pane's violet, also the bar's background.
    static objc::RefPtr<UIColor> violet();

    static void registerRuntimeClass();
};
