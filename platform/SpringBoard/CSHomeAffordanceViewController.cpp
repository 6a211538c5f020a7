#include "CSHomeAffordanceViewController.h"

#include "CSHomeAffordanceView.h"
#include "CSTeachableMomentsContainerView.h"

#include "UIKit/UIDeviceProfile.h"

void CSHomeAffordanceViewController::loadViewImp(CSHomeAffordanceViewController* self, SEL)
{
    CGRect screen = UIDeviceProfile::current().screenBounds();
    // It covers the whole screen over the cover sheet's own views; like the cover sheet's
    // other full-screen containers it lets touches through to what lies behind.
    auto view = SBFTouchPassThroughView::alloc();
    view->initWithFrame(screen);
    self->m_homeAffordanceView = CSHomeAffordanceView::alloc();
    self->m_homeAffordanceView->initWithFrame(CSHomeAffordanceView::frameForScreen(screen));
    view->addSubview(self->m_homeAffordanceView.get());
    self->setView(view.get());
}

void CSCoverSheetViewControllerBase::registerRuntimeClass()
{
    objc::defineClass<CSCoverSheetViewControllerBase>("CSCoverSheetViewControllerBase", UIViewController::staticClass());
}

void CSHomeAffordanceViewController::registerRuntimeClass()
{
    Class cls = objc::defineClass<CSHomeAffordanceViewController>("CSHomeAffordanceViewController", CSCoverSheetViewControllerBase::staticClass());
    objc::addMethod(cls, "loadView", &loadViewImp);
}
