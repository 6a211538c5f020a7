#include "SBDeviceApplicationSceneViewController.h"

#include "CSHomeAffordanceView.h"
#include "SBHomeGrabberView.h"

#include "UIKit/UIDeviceProfile.h"

void SBDeviceApplicationSceneViewController::loadViewImp(SBDeviceApplicationSceneViewController* self, SEL)
{
    auto view = UIView::alloc();
    view->initWithFrame(UIDeviceProfile::current().screenBounds());
    self->setView(view.get());
}

void SBDeviceApplicationSceneViewController::viewDidLoadImp(SBDeviceApplicationSceneViewController* self, SEL cmd)
{
    objc_msgSendSuper(SBApplicationSceneViewController::staticClass(), self, cmd);
    CGRect screen = UIDeviceProfile::current().screenBounds();
    UIView* view = self->view();
    self->m_content = UIView::alloc();
    self->m_content->initWithFrame(view->bounds());
    view->addSubview(self->m_content.get());
    // The grabber takes the same bottom band as the lock screen's home affordance.
    self->m_homeGrabberView = SBHomeGrabberView::alloc();
    self->m_homeGrabberView->initWithFrame(CSHomeAffordanceView::frameForScreen(screen));
    view->addSubview(self->m_homeGrabberView.get());
}

void SBApplicationSceneViewController::registerRuntimeClass()
{
    objc::defineClass<SBApplicationSceneViewController>("SBApplicationSceneViewController", UIViewController::staticClass());
}

void SBDeviceApplicationSceneViewController::registerRuntimeClass()
{
    Class cls = objc::defineClass<SBDeviceApplicationSceneViewController>("SBDeviceApplicationSceneViewController", SBApplicationSceneViewController::staticClass());
    objc::addMethod(cls, "loadView", &loadViewImp);
    objc::addMethod(cls, "viewDidLoad", &viewDidLoadImp);
}
