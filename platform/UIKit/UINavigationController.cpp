#include "UINavigationController.h"

#include "UIScreen.h"
#include "UIViewControllerContainment.h"

#include <algorithm>

namespace {

constexpr UIViewAutoresizing kFlexibleWidthAndHeight = UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight;

} // namespace

UINavigationController* UINavigationController::initWithRootViewController(UIViewController* root)
{
    return static_cast<UINavigationController*>(objc_msgSend<id>(this, "initWithRootViewController:"_sel, static_cast<id>(root)));
}

UINavigationController* UINavigationController::initWithRootViewControllerImp(UINavigationController* self, SEL, id root)
{
    self->init();
    if (auto controller = objc_cast<UIViewController>(root))
        self->pushViewController(controller, false);
    return self;
}

UINavigationBar* UINavigationController::navigationBar()
{
    if (!m_navigationBar) {
        m_navigationBar = UINavigationBar::alloc();
        m_navigationBar->initWithFrame(CGRectMake(0, 0, UIScreen::mainScreen()->bounds().size.width, UINavigationBar::kHeight));
        m_navigationBar->setAutoresizingMask(UIViewAutoresizingFlexibleWidth);
    }
    return m_navigationBar.get();
}

void UINavigationController::setNavigationBarHidden(bool hidden)
{
    m_navigationBarHidden = hidden;
    navigationBar()->setHidden(hidden);
    if (isViewLoaded())
        layoutContent();
}

void UINavigationController::pushViewController(UIViewController* controller, bool animated)
{
    objc_msgSend(this, "pushViewController:animated:"_sel, static_cast<id>(controller), animated);
}

objc::RefPtr<UIViewController> UINavigationController::popViewController(bool animated)
{
    return objc::RefPtr<UIViewController>(static_cast<UIViewController*>(objc_msgSend<id>(this, "popViewControllerAnimated:"_sel, animated)));
}

void UINavigationController::pushViewControllerImp(UINavigationController* self, SEL, id object, bool animated)
{
    objc::RefPtr<UIViewController> controller = objc_cast<UIViewController>(object);
    if (!controller)
        return;
    for (auto& existing : self->m_viewControllers) {
        if (existing == controller)
            platform::raiseException("NSInvalidArgumentException", "Pushing the same view controller instance more than once is not supported");
    }
    objc::RefPtr<UINavigationController> protectedThis(self);
    objc::RefPtr<UIViewController> leaving = self->topViewController();
    UIViewControllerContainment::setParentViewController(controller.get(), self);
    self->m_viewControllers.push_back(controller);
    self->navigationBar()->pushNavigationItem(UIViewControllerContainment::navigationItem(controller.get()));
    if (!self->isViewLoaded())
        return;
    if (!self->m_onScreen) {
        self->layoutContent();
        return;
    }
    controller->view();
    if (leaving)
        UIViewControllerContainment::viewWillDisappear(leaving.get(), animated);
    UIViewControllerContainment::viewWillAppear(controller.get(), animated);
    self->layoutContent();
    if (leaving)
        UIViewControllerContainment::viewDidDisappear(leaving.get(), animated);
    UIViewControllerContainment::viewDidAppear(controller.get(), animated);
}

id UINavigationController::popViewControllerImp(UINavigationController* self, SEL, bool animated)
{
    if (self->m_viewControllers.size() < 2)
        return nullptr;
    objc::RefPtr<UINavigationController> protectedThis(self);
    objc::RefPtr<UIViewController> leaving = self->m_viewControllers.back();
    self->m_viewControllers.pop_back();
    self->navigationBar()->popNavigationItem();
    UIViewController* arriving = self->topViewController();
    bool onScreen = self->m_onScreen && self->isViewLoaded();
    if (onScreen) {
        UIViewControllerContainment::viewWillDisappear(leaving.get(), animated);
        UIViewControllerContainment::viewWillAppear(arriving, animated);
    }
    if (self->isViewLoaded())
        self->layoutContent();
    if (onScreen) {
        UIViewControllerContainment::viewDidDisappear(leaving.get(), animated);
        UIViewControllerContainment::viewDidAppear(arriving, animated);
    }
    UIViewControllerContainment::setParentViewController(leaving.get(), nullptr);
    // The caller gets the page it popped; nobody else keeps it now.
    return objc_autorelease(leaving.leakRef());
}

CGRect UINavigationController::contentFrame() const
{
    CGRect bounds = viewIfLoaded()->bounds();
    if (m_navigationBarHidden)
        return bounds;
    CGFloat top = m_navigationBar->frame().origin.y + UINavigationBar::kHeight;
    return CGRectMake(0, top, bounds.size.width, std::max<CGFloat>(0, bounds.size.height - top));
}

void UINavigationController::layoutContent()
{
    UIView* container = viewIfLoaded();
    UIView* bar = navigationBar();
    // Below the status bar: a bar whose view starts at the top of the screen sits under
    // the screen's top safe-area inset; one nested lower down (inside another navigation
    // controller's content) is clear of the status bar already.
    CGFloat statusBarBottom = UIScreen::mainScreen()->safeAreaInsets().top;
    CGFloat barTop = std::max<CGFloat>(0, statusBarBottom - container->frameInScreen().origin.y);
    bar->setFrame(CGRectMake(0, barTop, container->bounds().size.width, UINavigationBar::kHeight));
    UIView* topView = topViewController() ? topViewController()->view() : nullptr;
    for (auto& subview : std::vector<objc::RefPtr<UIView>>(container->subviews())) {
        if (subview.get() != bar && subview.get() != topView)
            subview->removeFromSuperview();
    }
    if (topView) {
        if (topView->superview() != container)
            container->insertSubviewAtIndex(topView, 0);
        topView->setFrame(contentFrame());
        topView->setAutoresizingMask(kFlexibleWidthAndHeight);
        // A nested navigation controller, now placed, finds whether its bar still has the
        // status bar above it.
        if (auto* nested = objc_cast<UINavigationController>(topViewController()))
            nested->layoutContent();
    }
}

void UINavigationController::loadViewImp(UINavigationController* self, SEL)
{
    auto view = UIView::alloc();
    view->initWithFrame(UIScreen::mainScreen()->bounds());
    view->setAutoresizingMask(kFlexibleWidthAndHeight);
    self->setView(view.get());
    view->addSubview(self->navigationBar());
    self->layoutContent();
}

void UINavigationController::viewWillAppearImp(UINavigationController* self, SEL cmd, bool animated)
{
    objc_msgSendSuper(UIViewController::staticClass(), self, cmd, animated);
    self->m_onScreen = true;
    if (auto top = objc::RefPtr<UIViewController>(self->topViewController())) {
        top->view();
        self->layoutContent();
        UIViewControllerContainment::viewWillAppear(top.get(), animated);
    }
}

void UINavigationController::viewDidAppearImp(UINavigationController* self, SEL cmd, bool animated)
{
    objc_msgSendSuper(UIViewController::staticClass(), self, cmd, animated);
    if (auto top = self->topViewController())
        UIViewControllerContainment::viewDidAppear(top, animated);
}

void UINavigationController::viewWillDisappearImp(UINavigationController* self, SEL cmd, bool animated)
{
    objc_msgSendSuper(UIViewController::staticClass(), self, cmd, animated);
    if (auto top = self->topViewController())
        UIViewControllerContainment::viewWillDisappear(top, animated);
}

void UINavigationController::viewDidDisappearImp(UINavigationController* self, SEL cmd, bool animated)
{
    objc_msgSendSuper(UIViewController::staticClass(), self, cmd, animated);
    self->m_onScreen = false;
    if (auto top = self->topViewController())
        UIViewControllerContainment::viewDidDisappear(top, animated);
}

void UINavigationController::registerRuntimeClass()
{
    Class cls = objc::defineClass<UINavigationController>("UINavigationController", UIViewController::staticClass());
    objc::addMethod(cls, "initWithRootViewController:", &initWithRootViewControllerImp);
    objc::addMethod(cls, "pushViewController:animated:", &pushViewControllerImp);
    objc::addMethod(cls, "popViewControllerAnimated:", &popViewControllerImp);
    objc::addMethod(cls, "loadView", &loadViewImp);
    objc::addMethod(cls, "viewWillAppear:", &viewWillAppearImp);
    objc::addMethod(cls, "viewDidAppear:", &viewDidAppearImp);
    objc::addMethod(cls, "viewWillDisappear:", &viewWillDisappearImp);
    objc::addMethod(cls, "viewDidDisappear:", &viewDidDisappearImp);
    objc::addMethod(cls, "navigationBar", +[](UINavigationController* self, SEL) -> id { return self->navigationBar(); });
}
