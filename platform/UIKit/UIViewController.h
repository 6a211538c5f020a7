#pragma once
// UIViewController: owns a view that it makes on first use. The view is created by
// -loadView and finished by -viewDidLoad, both sent through the runtime, since
// SpringBoard's controllers and the tweak's hooks replace them.

#include "UIResponder.h"

class UIView;

class UIViewController : public UIResponder {
    OBJC_INTERFACE(UIViewController)
public:
    UIViewController() = default;
    ~UIViewController() override;

    // -init (sent through the runtime; returns the receiver, borrowed).
    UIViewController* init();

    // The view, loaded on first access: -loadView, then -viewDidLoad.
    // -view, through the runtime (a view is an object; its class is only declared here).
    UIView* view() { return reinterpret_cast<UIView*>(objc_send<"view", id>(this)); }
    // The view if it has been loaded, without loading it.
    UIView* viewIfLoaded() const { return m_view.get(); }
    void setView(UIView*);
    bool isViewLoaded() const { return static_cast<bool>(m_view); }

    void loadView();
    void viewDidLoad();

    static void registerRuntimeClass();

private:
    static UIViewController* initImp(UIViewController*, SEL);
    static void loadViewImp(UIViewController*, SEL);
    UIView* loadedView();
    static void viewDidLoadImp(UIViewController*, SEL);

    objc::RefPtr<UIView> m_view;
    bool m_loadingView = false;
};
