#pragma once
// The cover sheet's home-bar view controller. Its view covers the screen (so children can
// be placed against the screen's safe area) and holds the home affordance band.

#include "UIKit/UIViewController.h"

#include "CSHomeAffordanceView.h"

class CSCoverSheetViewControllerBase : public UIViewController {
    OBJC_INTERFACE(CSCoverSheetViewControllerBase)
public:
    CSCoverSheetViewControllerBase() = default;
    static void registerRuntimeClass();
};

class CSHomeAffordanceViewController : public CSCoverSheetViewControllerBase {
    OBJC_INTERFACE(CSHomeAffordanceViewController)
public:
    CSHomeAffordanceViewController() = default;

    CSHomeAffordanceView* homeAffordanceView() const { return m_homeAffordanceView.get(); }

    static void registerRuntimeClass();

private:
    static void loadViewImp(CSHomeAffordanceViewController*, SEL);
    objc::RefPtr<CSHomeAffordanceView> m_homeAffordanceView;
};
