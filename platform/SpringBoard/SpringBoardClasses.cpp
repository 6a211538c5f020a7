// Registers SpringBoard's classes, each after its superclass.

#include "CSCoverSheetView.h"
#include "CSHomeAffordanceView.h"
#include "CSHomeAffordanceViewController.h"
#include "CSNowPlayingController.h"
#include "CSTeachableMomentsContainerView.h"
#include "MTLumaDodgePillView.h"
#include "SBDeviceApplicationSceneViewController.h"
#include "SBHomeGrabberView.h"
#include "SBCoverSheetWindow.h"
#include "SBMainSwitcherWindow.h"
#include "SBMediaController.h"

namespace platform {

void registerSpringBoardClasses()
{
    MTPillView::registerRuntimeClass();
    MTLumaDodgePillView::registerRuntimeClass();
    CSHomeAffordanceView::registerRuntimeClass();
    CSCoverSheetViewControllerBase::registerRuntimeClass();
    CSHomeAffordanceViewController::registerRuntimeClass();
    SBFTouchPassThroughView::registerRuntimeClass();
    CSTeachableMomentsContainerView::registerRuntimeClass();
    CSCoverSheetView::registerRuntimeClass();
    CSMediaControlsViewController::registerRuntimeClass();
    CSNowPlayingController::registerRuntimeClass();
    SBHomeGrabberView::registerRuntimeClass();
    SBApplicationSceneViewController::registerRuntimeClass();
    SBDeviceApplicationSceneViewController::registerRuntimeClass();
    SBWindow::registerRuntimeClass();
    SBMainSwitcherWindow::registerRuntimeClass();
    SBCoverSheetWindow::registerRuntimeClass();
    SBMediaController::registerRuntimeClass();
}

} // namespace platform
