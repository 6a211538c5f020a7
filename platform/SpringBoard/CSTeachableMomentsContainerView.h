#pragma once
// The cover sheet's container for its call-to-action ("Swipe up to open") and the home
// affordance's surroundings. Touches pass through it to what lies behind.

#include "UIKit/UIView.h"

#include "UIKit/UILabel.h"

class SBFTouchPassThroughView : public UIView {
    OBJC_INTERFACE(SBFTouchPassThroughView)
public:
    SBFTouchPassThroughView() = default;
    static void registerRuntimeClass();

private:
    // Its subviews take touches; the view itself never does.
    static id hitTestImp(SBFTouchPassThroughView*, SEL, CGPoint, id event);
};

class CSTeachableMomentsContainerView : public SBFTouchPassThroughView {
    OBJC_INTERFACE(CSTeachableMomentsContainerView)
public:
    CSTeachableMomentsContainerView() = default;

    UILabel* callToActionLabel() const { return m_callToActionLabel.get(); }

    static void registerRuntimeClass();

private:
    static id initWithFrameImp(CSTeachableMomentsContainerView*, SEL, CGRect);
    static void layoutSubviewsImp(CSTeachableMomentsContainerView*, SEL);
    static id callToActionLabelImp(CSTeachableMomentsContainerView*, SEL);

    objc::RefPtr<UILabel> m_callToActionLabel;
};
