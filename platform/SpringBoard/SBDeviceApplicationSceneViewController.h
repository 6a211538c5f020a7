#pragma once
// The view controller that hosts a full-screen app's scene, with the app's home grabber.

#include "UIKit/UIViewController.h"

#include <string>

#include "SBHomeGrabberView.h"

class SBApplicationSceneViewController : public UIViewController {
    OBJC_INTERFACE(SBApplicationSceneViewController)
public:
    SBApplicationSceneViewController() = default;
    static void registerRuntimeClass();
};

class SBDeviceApplicationSceneViewController : public SBApplicationSceneViewController {
    OBJC_INTERFACE(SBDeviceApplicationSceneViewController)
public:
    SBDeviceApplicationSceneViewController() = default;

    void setBundleIdentifier(std::string identifier) { m_bundleIdentifier = std::move(identifier); }
    const std::string& bundleIdentifier() const { return m_bundleIdentifier; }

    SBHomeGrabberView* homeGrabberView() const { return m_homeGrabberView.get(); }
    // The app's own content, under everything SpringBoard or a tweak adds.
    UIView* sceneContentView() const { return m_content.get(); }

    static void registerRuntimeClass();

private:
    static void loadViewImp(SBDeviceApplicationSceneViewController*, SEL);
    static void viewDidLoadImp(SBDeviceApplicationSceneViewController*, SEL);

    std::string m_bundleIdentifier;
    objc::RefPtr<UIView> m_content;
    objc::RefPtr<SBHomeGrabberView> m_homeGrabberView;
};
