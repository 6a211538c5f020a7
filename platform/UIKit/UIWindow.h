#pragma once
// UIWindow: the root of a view tree shown on the screen. Its frame is in screen
// coordinates; a window made visible joins the screen's list of windows, which touch
// delivery and the simulator's screen dump walk.

#include "UIView.h"
#include "UIViewController.h"

#include <vector>

class UIWindow : public UIView {
    OBJC_INTERFACE(UIWindow)
public:
    // Windows start hidden, as in UIKit: nothing is on screen until it is shown.
    UIWindow() { m_hidden = true; }
    ~UIWindow() override;

    UIViewController* rootViewController() const { return m_rootViewController.get(); }
    // Installs the controller's view as the window's content, filling the window and
    // resizing with it.
    void setRootViewController(UIViewController*);

    // Shows the window and makes it the key window.
    void makeKeyAndVisible();
    bool isKeyWindow() const;
    static UIWindow* keyWindow();

    // Windows stack by level, then by the order in which they became visible.
    CGFloat windowLevel() const { return m_windowLevel; }
    void setWindowLevel(CGFloat level) { m_windowLevel = level; }

    // The windows on screen (not hidden), back to front. Borrowed: windows are kept by
    // whoever made them.
    static std::vector<UIWindow*> visibleWindows();

    static void registerRuntimeClass();

protected:
    void didChangeHidden() override;

private:
    static UIWindow* initWithFrameImp(UIWindow*, SEL, CGRect);

    objc::RefPtr<UIViewController> m_rootViewController;
    CGFloat m_windowLevel = 0;
    unsigned long m_orderedIn = 0;
};
