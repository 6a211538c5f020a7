#pragma once
// The luminance-adaptive pill: the system's home-bar indicator, on the lock screen and in
// apps. MTPillView is its plain base.

#include "UIKit/UIView.h"

class MTPillView : public UIView {
    OBJC_INTERFACE(MTPillView)
public:
    MTPillView() = default;
    static void registerRuntimeClass();
};

class MTLumaDodgePillView : public MTPillView {
    OBJC_INTERFACE(MTLumaDodgePillView)
public:
    MTLumaDodgePillView() = default;

    // How many layout passes the pill has had; SpringBoard lays it out with its container.
    unsigned layoutCount() const { return m_layoutCount; }

    static void registerRuntimeClass();

private:
    static void layoutSubviewsImp(MTLumaDodgePillView*, SEL);
    unsigned m_layoutCount = 0;
};
