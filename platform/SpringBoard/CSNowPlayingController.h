#pragma once
// The cover sheet's now-playing controller: it hands the cover sheet the lock screen's own
// media controls when something plays.

#include "UIKit/UIViewController.h"

#include <cstddef>

class CSMediaControlsViewController : public UIViewController {
    OBJC_INTERFACE(CSMediaControlsViewController)
public:
    CSMediaControlsViewController() = default;
    static void registerRuntimeClass();

private:
    static void loadViewImp(CSMediaControlsViewController*, SEL);
};

class CSNowPlayingController : public NSObject {
    OBJC_INTERFACE(CSNowPlayingController)
public:
    CSNowPlayingController() = default;

    // Asks through the runtime, as the cover sheet does each time it lays out its pages.
    UIViewController* controlsViewController();
    // How many times the controller's own implementation answered that request.
    std::size_t answeredRequests() const { return m_answeredRequests; }

    static void registerRuntimeClass();

private:
    static id controlsViewControllerImp(CSNowPlayingController*, SEL);
    objc::RefPtr<CSMediaControlsViewController> m_controls;
    std::size_t m_answeredRequests = 0;
};
