#pragma once
// The simulated SpringBoard application: what it does when it starts, when the phone locks
// and unlocks, and when apps open and close. Every step that SpringBoard takes through
// the runtime on a device (initialisers, loadView/viewDidLoad, layout passes, the home
// grabber's callbacks) is sent through the runtime here too, so hooks see it.

#include "objc/RefPtr.h"

#include <map>
#include <string>
#include <vector>

class CSCoverSheetView;
class CSHomeAffordanceViewController;
class CSNowPlayingController;
class SBCoverSheetWindow;
class SBDeviceApplicationSceneViewController;
class SBHomeGrabberView;
class SBMainSwitcherWindow;
class UIViewController;
class UIWindow;

class SpringBoard {
public:
    SpringBoard();
    ~SpringBoard();
    SpringBoard(const SpringBoard&) = delete;
    SpringBoard& operator=(const SpringBoard&) = delete;

    // Sets up the switcher window and the cover sheet; the phone comes up locked.
    void boot();
    bool isBooted() const { return m_booted; }

    void lock();
    void unlock();
    bool isLocked() const { return m_locked; }

    // Brings the app to the front, loading its scene the first time. Returns its scene
    // view controller.
    SBDeviceApplicationSceneViewController* openApp(const std::string& bundleIdentifier);
    // Ends the app: its scene leaves the screen and SpringBoard lets go of its controller.
    // False if the app was not open.
    bool closeApp(const std::string& bundleIdentifier);
    SBDeviceApplicationSceneViewController* frontApp() const;
    SBDeviceApplicationSceneViewController* app(const std::string& bundleIdentifier) const;
    // Apps whose scenes are loaded, front-most last.
    std::vector<SBDeviceApplicationSceneViewController*> openApps() const;

    // The front app's home grabber (null with no app open).
    SBHomeGrabberView* frontHomeGrabber() const;

    // Runs a layout pass over every window on screen, as the next display refresh would.
    void layoutWindows();
    // Windows on screen, back to front.
    std::vector<UIWindow*> windowsOnScreen() const;

    CSCoverSheetView* coverSheetView() const { return m_coverSheetView.get(); }
    CSHomeAffordanceViewController* homeAffordanceController() const { return m_homeAffordanceController.get(); }
    SBMainSwitcherWindow* switcherWindow() const { return m_switcherWindow.get(); }
    UIWindow* coverSheetWindow() const;
    // The lock screen's own media controls, as the cover sheet last got them (may be null).
    UIViewController* mediaControls() const { return m_mediaControls.get(); }
    CSNowPlayingController* nowPlayingController() const { return m_nowPlayingController.get(); }

private:
    void buildCoverSheet();
    void refreshMediaControls();

    bool m_booted = false;
    bool m_locked = true;
    objc::RefPtr<SBMainSwitcherWindow> m_switcherWindow;
    objc::RefPtr<SBCoverSheetWindow> m_coverSheetWindow;
    objc::RefPtr<CSCoverSheetView> m_coverSheetView;
    objc::RefPtr<CSHomeAffordanceViewController> m_homeAffordanceController;
    objc::RefPtr<CSNowPlayingController> m_nowPlayingController;
    objc::RefPtr<UIViewController> m_mediaControls;
    // Open apps, in the order they came to the front (front-most last).
    std::vector<objc::RefPtr<SBDeviceApplicationSceneViewController>> m_apps;
};
