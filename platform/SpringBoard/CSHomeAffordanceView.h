#pragma once
// The lock screen's home bar: a band along the bottom edge that holds the system pill.

#include "UIKit/UIView.h"

#include "MTLumaDodgePillView.h"

class CSHomeAffordanceView : public UIView {
    OBJC_INTERFACE(CSHomeAffordanceView)
public:
    CSHomeAffordanceView() = default;

    // Sent through the runtime, as SpringBoard does once the cover sheet is set up.
    void createStaticHomeAffordance();
    MTLumaDodgePillView* pillView() const { return m_pill.get(); }

    // The colour the pill is drawn in instead of its adaptive one (nil: adaptive).
    NSObject* overrideColor() const { return m_overrideColor.get(); }

    // The band's frame on a screen: the bottom 21 points, under the pill.
    static CGRect frameForScreen(CGRect screenBounds);

    static void registerRuntimeClass();

private:
    static void layoutSubviewsImp(CSHomeAffordanceView*, SEL);
    static void createStaticHomeAffordanceImp(CSHomeAffordanceView*, SEL);
    static id overrideColorImp(CSHomeAffordanceView*, SEL);
    static void setOverrideColorImp(CSHomeAffordanceView*, SEL, id);

    objc::RefPtr<MTLumaDodgePillView> m_pill;
    objc::RefPtr<NSObject> m_overrideColor;
};
