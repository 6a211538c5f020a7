#include "UIWindow.h"

#include "UIViewController.h"

#include <algorithm>

namespace {

// The screen's windows, weakly: a window leaves the list when it dies.
std::vector<objc::WeakPtr<UIWindow>>& screenWindows()
{
    static auto* windows = new std::vector<objc::WeakPtr<UIWindow>>;
    return *windows;
}

objc::WeakPtr<UIWindow>& keyWindowSlot()
{
    static auto* window = new objc::WeakPtr<UIWindow>;
    return *window;
}

unsigned long nextOrderingNumber()
{
    static unsigned long counter = 0;
    return ++counter;
}

} // namespace

UIWindow::~UIWindow()
{
    auto& windows = screenWindows();
    std::erase_if(windows, [this](auto& window) { return !window.get() || window.get() == this; });
}

UIWindow* UIWindow::initWithFrameImp(UIWindow* self, SEL cmd, CGRect frame)
{
    objc_msgSendSuper<id>(UIView::staticClass(), self, cmd, frame);
    return self;
}

void UIWindow::setRootViewController(UIViewController* controller)
{
    objc::RefPtr<UIViewController> protectedController(controller);
    if (m_rootViewController == controller)
        return;
    if (m_rootViewController) {
        if (auto* oldView = m_rootViewController->viewIfLoaded(); oldView && oldView->superview() == this)
            oldView->removeFromSuperview();
    }
    m_rootViewController = controller;
    if (!controller)
        return;
    UIView* view = controller->view();
    view->setFrame(bounds());
    view->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    addSubview(view);
}

void UIWindow::didChangeHidden()
{
    auto& windows = screenWindows();
    std::erase_if(windows, [this](auto& window) { return !window.get() || window.get() == this; });
    if (m_hidden)
        return;
    // A window shown again goes in front of the others of its level.
    m_orderedIn = nextOrderingNumber();
    windows.push_back(this);
}

void UIWindow::makeKeyAndVisible()
{
    setHidden(false);
    keyWindowSlot() = this;
}

bool UIWindow::isKeyWindow() const
{
    return keyWindowSlot().get() == this;
}

UIWindow* UIWindow::keyWindow()
{
    return keyWindowSlot().get();
}

std::vector<UIWindow*> UIWindow::visibleWindows()
{
    std::vector<UIWindow*> result;
    for (auto& window : screenWindows()) {
        if (auto* live = window.get(); live && !live->isHidden())
            result.push_back(live);
    }
    std::stable_sort(result.begin(), result.end(), [](UIWindow* a, UIWindow* b) {
        if (a->m_windowLevel != b->m_windowLevel)
            return a->m_windowLevel < b->m_windowLevel;
        return a->m_orderedIn < b->m_orderedIn;
    });
    return result;
}

void UIWindow::registerRuntimeClass()
{
    Class cls = objc::defineClass<UIWindow>("UIWindow", UIView::staticClass());
    objc::addMethod(cls, "initWithFrame:", &initWithFrameImp);
}
