#pragma once
// UINavigationController: a stack of pages under a navigation bar. The top page's view
// fills the space below the bar; pushing and popping move the stack and, while the
// navigation controller is on screen, send the pages their appearance callbacks in
// UIKit's order (the page leaving "will disappear", the page arriving "will appear",
// then the two "did" callbacks).
//
// A navigation controller may be the root page of another one: the Settings app nests
// its panes' navigation this way, and an inner page finds the outer bar through
// navigationController twice.

#include "UINavigationBar.h"
#include "UIViewController.h"

#include <vector>

class UINavigationController : public UIViewController {
    OBJC_INTERFACE(UINavigationController)
public:
    UINavigationController() = default;

    // -initWithRootViewController: (through the runtime). Returns the receiver.
    UINavigationController* initWithRootViewController(UIViewController*);

    const std::vector<objc::RefPtr<UIViewController>>& viewControllers() const { return m_viewControllers; }
    UIViewController* topViewController() const { return m_viewControllers.empty() ? nullptr : m_viewControllers.back().get(); }
    // Made with the controller and kept for its life.
    UINavigationBar* navigationBar();
    bool isNavigationBarHidden() const { return m_navigationBarHidden; }
    void setNavigationBarHidden(bool);
    // Whether the controller is between viewWillAppear: and viewDidDisappear:.
    bool isOnScreen() const { return m_onScreen; }

    // -pushViewController:animated: and -popViewControllerAnimated: (through the runtime;
    // nothing is animated here). Popping the root page does nothing and returns nil.
    void pushViewController(UIViewController*, bool animated);
    objc::RefPtr<UIViewController> popViewController(bool animated);

    // Lays the bar and the top page's view out in the controller's view: done by every
    // change of the stack, and by an app whose screen changed (the bar sits under the
    // status bar, whose height is the device's).
    void layoutContent();

    static void registerRuntimeClass();

private:
    static UINavigationController* initWithRootViewControllerImp(UINavigationController*, SEL, id root);
    static void pushViewControllerImp(UINavigationController*, SEL, id controller, bool animated);
    static id popViewControllerImp(UINavigationController*, SEL, bool animated);
    static void loadViewImp(UINavigationController*, SEL);
    static void viewWillAppearImp(UINavigationController*, SEL, bool animated);
    static void viewDidAppearImp(UINavigationController*, SEL, bool animated);
    static void viewWillDisappearImp(UINavigationController*, SEL, bool animated);
    static void viewDidDisappearImp(UINavigationController*, SEL, bool animated);

    CGRect contentFrame() const;

    std::vector<objc::RefPtr<UIViewController>> m_viewControllers;
    objc::RefPtr<UINavigationBar> m_navigationBar;
    bool m_navigationBarHidden = false;
    bool m_onScreen = false;
};
