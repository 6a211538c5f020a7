#pragma once
// The lock screen's root view: it covers the screen and holds the teachable-moments
// container and the home affordance controller's view.

#include "UIKit/UIView.h"

#include "CSTeachableMomentsContainerView.h"

class CSCoverSheetView : public UIView {
    OBJC_INTERFACE(CSCoverSheetView)
public:
    CSCoverSheetView() = default;

    CSTeachableMomentsContainerView* teachableMomentsContainerView() const { return m_teachableMoments.get(); }

    static void registerRuntimeClass();

private:
    static id initWithFrameImp(CSCoverSheetView*, SEL, CGRect);
    objc::RefPtr<CSTeachableMomentsContainerView> m_teachableMoments;
};
