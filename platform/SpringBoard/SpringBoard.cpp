#include "SpringBoard.h"

#include "CSCoverSheetView.h"
#include "CSHomeAffordanceView.h"
#include "CSHomeAffordanceViewController.h"
#include "CSNowPlayingController.h"
#include "SBCoverSheetWindow.h"
#include "SBDeviceApplicationSceneViewController.h"
#include "SBHomeGrabberView.h"
#include "SBMainSwitcherWindow.h"

#include "SBMediaController.h"

#include "MediaRemote/MediaRemote.h"
#include "UIKit/UIDeviceProfile.h"

#include <algorithm>

namespace {
// Window levels: apps under the cover sheet.
constexpr double kSwitcherWindowLevel = 0;
constexpr double kCoverSheetWindowLevel = 1000;
} // namespace

SpringBoard::SpringBoard() = default;
SpringBoard::~SpringBoard() = default;

void SpringBoard::boot()
{
    if (m_booted)
        return;
    m_booted = true;
    CGRect screen = UIDeviceProfile::current().screenBounds();

    m_switcherWindow = SBMainSwitcherWindow::alloc();
    m_switcherWindow->initWithFrame(CGRectZero);
    m_switcherWindow->setWindowLevel(kSwitcherWindowLevel);
    // SpringBoard sizes the switcher window once the screen is known.
    m_switcherWindow->setFrame(screen);
    m_switcherWindow->makeKeyAndVisible();

    // What plays already (the now-playing application outlives SpringBoard) reaches the
    // media controller as the first reply comes in.
    MRMediaRemoteGetNowPlayingInfo(dispatch_get_main_queue(), [](NSDictionary* info) {
        SBMediaController::sharedInstance()->setNowPlayingInfo(info);
    });

    buildCoverSheet();
    m_locked = true;
    m_coverSheetWindow->setHidden(false);
    layoutWindows();
}

void SpringBoard::buildCoverSheet()
{
    CGRect screen = UIDeviceProfile::current().screenBounds();
    m_coverSheetWindow = SBCoverSheetWindow::alloc();
    m_coverSheetWindow->initWithFrame(screen);
    m_coverSheetWindow->setWindowLevel(kCoverSheetWindowLevel);

    m_coverSheetView = CSCoverSheetView::alloc();
    m_coverSheetView->initWithFrame(screen);
    m_coverSheetWindow->addSubview(m_coverSheetView.get());

    m_homeAffordanceController = CSHomeAffordanceViewController::alloc();
    m_homeAffordanceController->init();
    // The home affordance lives in the teachable-moments container, behind whatever is
    // added to the cover sheet view itself later.
    m_coverSheetView->teachableMomentsContainerView()->addSubview(m_homeAffordanceController->view());
    m_homeAffordanceController->homeAffordanceView()->createStaticHomeAffordance();

    m_nowPlayingController = CSNowPlayingController::alloc();
    objc_msgSend<id>(m_nowPlayingController.get(), "init"_sel);
    refreshMediaControls();
    m_coverSheetWindow->makeKeyAndVisible();
}

void SpringBoard::refreshMediaControls()
{
    // The cover sheet asks for the media controls each time it presents its pages.
    objc::RefPtr<UIViewController> controls = m_nowPlayingController->controlsViewController();
    if (controls == m_mediaControls)
        return;
    if (m_mediaControls && m_mediaControls->isViewLoaded())
        m_mediaControls->view()->removeFromSuperview();
    m_mediaControls = controls;
    if (m_mediaControls)
        m_coverSheetView->insertSubviewAtIndex(m_mediaControls->view(), 0);
}

void SpringBoard::lock()
{
    if (!m_booted || m_locked)
        return;
    m_locked = true;
    refreshMediaControls();
    m_coverSheetWindow->setHidden(false);
    layoutWindows();
}

void SpringBoard::unlock()
{
    if (!m_booted || !m_locked)
        return;
    m_locked = false;
    m_coverSheetWindow->setHidden(true);
    layoutWindows();
}

SBDeviceApplicationSceneViewController* SpringBoard::openApp(const std::string& bundleIdentifier)
{
    if (!m_booted)
        return nullptr;
    auto it = std::find_if(m_apps.begin(), m_apps.end(), [&](auto& app) { return app->bundleIdentifier() == bundleIdentifier; });
    objc::RefPtr<SBDeviceApplicationSceneViewController> scene;
    if (it != m_apps.end()) {
        scene = *it;
        m_apps.erase(it);
    } else {
        scene = SBDeviceApplicationSceneViewController::alloc();
        scene->init();
        scene->setBundleIdentifier(bundleIdentifier);
    }
    m_apps.push_back(scene);
    // Loading the view runs loadView and viewDidLoad through the runtime, the first time.
    m_switcherWindow->addSubview(scene->view());
    layoutWindows();
    return scene.get();
}

bool SpringBoard::closeApp(const std::string& bundleIdentifier)
{
    auto it = std::find_if(m_apps.begin(), m_apps.end(), [&](auto& app) { return app->bundleIdentifier() == bundleIdentifier; });
    if (it == m_apps.end())
        return false;
    objc::RefPtr<SBDeviceApplicationSceneViewController> scene = std::move(*it);
    m_apps.erase(it);
    if (scene->isViewLoaded())
        scene->view()->removeFromSuperview();
    layoutWindows();
    return true;
}

SBDeviceApplicationSceneViewController* SpringBoard::frontApp() const
{
    return m_apps.empty() ? nullptr : m_apps.back().get();
}

SBDeviceApplicationSceneViewController* SpringBoard::app(const std::string& bundleIdentifier) const
{
    for (auto& app : m_apps) {
        if (app->bundleIdentifier() == bundleIdentifier)
            return app.get();
    }
    return nullptr;
}

std::vector<SBDeviceApplicationSceneViewController*> SpringBoard::openApps() const
{
    std::vector<SBDeviceApplicationSceneViewController*> apps;
    for (auto& app : m_apps)
        apps.push_back(app.get());
    return apps;
}

SBHomeGrabberView* SpringBoard::frontHomeGrabber() const
{
    auto front = frontApp();
    return front ? front->homeGrabberView() : nullptr;
}

UIWindow* SpringBoard::coverSheetWindow() const
{
    return m_coverSheetWindow.get();
}

void SpringBoard::layoutWindows()
{
    for (UIWindow* window : windowsOnScreen())
        window->layoutIfNeeded();
}

std::vector<UIWindow*> SpringBoard::windowsOnScreen() const
{
    std::vector<UIWindow*> windows;
    if (m_switcherWindow && !m_switcherWindow->isHidden())
        windows.push_back(m_switcherWindow.get());
    if (m_coverSheetWindow && !m_coverSheetWindow->isHidden())
        windows.push_back(m_coverSheetWindow.get());
    return windows;
}
