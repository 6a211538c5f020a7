#pragma once
// Every method the tweak replaces or adds, with the slot that keeps each replaced
// implementation. The definitions live with their subsystem; HookTable.cpp installs them.

#include "CoreGraphics/CGGeometry.h"
#include "objc/objc.h"

class CSHomeAffordanceView;
class CSHomeAffordanceViewController;
class SBDeviceApplicationSceneViewController;
class SBHomeGrabberView;
class SBMainSwitcherWindow;
class CSCoverSheetView;
class CSTeachableMomentsContainerView;
class CSNowPlayingController;
class SBMediaController;
class MTLumaDodgePillView;

namespace lumetrix {

// lockscreen/HomeAffordanceView.cpp: the home-bar progress strip.
extern void (*orig_CSHomeAffordanceView_layoutSubviews)(CSHomeAffordanceView*, SEL);
void hook_CSHomeAffordanceView_layoutSubviews(CSHomeAffordanceView*, SEL);
extern void (*orig_CSHomeAffordanceView__createStaticHomeAffordance)(CSHomeAffordanceView*, SEL);
void hook_CSHomeAffordanceView__createStaticHomeAffordance(CSHomeAffordanceView*, SEL);
void CSHomeAffordanceView_updateProgress(CSHomeAffordanceView*, SEL, id timer);
// lockscreen/StripColour.cpp: the strip's colour.
void CSHomeAffordanceView_updateSliderColour(CSHomeAffordanceView*, SEL, id notification);

// lockscreen/HomeAffordanceViewController.cpp: the lock-screen player.
extern void (*orig_CSHomeAffordanceViewController_loadView)(CSHomeAffordanceViewController*, SEL);
void hook_CSHomeAffordanceViewController_loadView(CSHomeAffordanceViewController*, SEL);
// lockscreen/LockScreenPlayerActions.cpp: its controls.
void CSHomeAffordanceViewController_playpausenotif(CSHomeAffordanceViewController*, SEL);
void CSHomeAffordanceViewController_tapGesture(CSHomeAffordanceViewController*, SEL, id recognizer);
void CSHomeAffordanceViewController_swipeleft(CSHomeAffordanceViewController*, SEL, id recognizer);
void CSHomeAffordanceViewController_swiperight(CSHomeAffordanceViewController*, SEL, id recognizer);
void CSHomeAffordanceViewController_dismissControls(CSHomeAffordanceViewController*, SEL, id timer);
void CSHomeAffordanceViewController_updateMedia(CSHomeAffordanceViewController*, SEL);
// lockscreen/StripColour.cpp: the colour it passes on to the strip.
void CSHomeAffordanceViewController_updateMediaColour(CSHomeAffordanceViewController*, SEL, id notification);

// inapp/SceneViewController.cpp: the player inside every app.
extern void (*orig_SBDeviceApplicationSceneViewController_viewDidLoad)(SBDeviceApplicationSceneViewController*, SEL);
void hook_SBDeviceApplicationSceneViewController_viewDidLoad(SBDeviceApplicationSceneViewController*, SEL);
// inapp/InAppPlayerActions.cpp: its controls, strip refresh and visibility.
void SBDeviceApplicationSceneViewController_hidemediaplayer(SBDeviceApplicationSceneViewController*, SEL, id notification);
void SBDeviceApplicationSceneViewController_showmediaplayer(SBDeviceApplicationSceneViewController*, SEL, id notification);
void SBDeviceApplicationSceneViewController_playpausenotif(SBDeviceApplicationSceneViewController*, SEL);
void SBDeviceApplicationSceneViewController_updateProgress(SBDeviceApplicationSceneViewController*, SEL, id timer);
void SBDeviceApplicationSceneViewController_tapGesture(SBDeviceApplicationSceneViewController*, SEL, id recognizer);
void SBDeviceApplicationSceneViewController_swipeleft(SBDeviceApplicationSceneViewController*, SEL, id recognizer);
void SBDeviceApplicationSceneViewController_swiperight(SBDeviceApplicationSceneViewController*, SEL, id recognizer);
void SBDeviceApplicationSceneViewController_dismissControls(SBDeviceApplicationSceneViewController*, SEL, id timer);
void SBDeviceApplicationSceneViewController_updateMedia(SBDeviceApplicationSceneViewController*, SEL);

// springboardhooks/HomeGrabberHooks.cpp
extern void (*orig_SBHomeGrabberView__bounce)(SBHomeGrabberView*, SEL);
void hook_SBHomeGrabberView__bounce(SBHomeGrabberView*, SEL);
extern void (*orig_SBHomeGrabberView_attentionLost)(SBHomeGrabberView*, SEL, id client, double timeout, unsigned long long generation, id associatedObject);
void hook_SBHomeGrabberView_attentionLost(SBHomeGrabberView*, SEL, id client, double timeout, unsigned long long generation, id associatedObject);
extern void (*orig_SBHomeGrabberView_clientDidResetForUserAttention)(SBHomeGrabberView*, SEL, id client);
void hook_SBHomeGrabberView_clientDidResetForUserAttention(SBHomeGrabberView*, SEL, id client);

// springboardhooks/CaptureHooks.cpp
extern void (*orig_SBMainSwitcherWindow_setFrame)(SBMainSwitcherWindow*, SEL, CGRect);
void hook_SBMainSwitcherWindow_setFrame(SBMainSwitcherWindow*, SEL, CGRect);
extern id (*orig_CSCoverSheetView_initWithFrame)(CSCoverSheetView*, SEL, CGRect);
id hook_CSCoverSheetView_initWithFrame(CSCoverSheetView*, SEL, CGRect);

// springboardhooks/CoverSheetHooks.cpp
extern void (*orig_CSTeachableMomentsContainerView_layoutSubviews)(CSTeachableMomentsContainerView*, SEL);
void hook_CSTeachableMomentsContainerView_layoutSubviews(CSTeachableMomentsContainerView*, SEL);
extern id (*orig_CSNowPlayingController_controlsViewController)(CSNowPlayingController*, SEL);
id hook_CSNowPlayingController_controlsViewController(CSNowPlayingController*, SEL);

// springboardhooks/MediaControllerHooks.cpp
extern void (*orig_SBMediaController_setNowPlayingInfo)(SBMediaController*, SEL, id info);
void hook_SBMediaController_setNowPlayingInfo(SBMediaController*, SEL, id info);

// springboardhooks/PillHooks.cpp
extern void (*orig_MTLumaDodgePillView_layoutSubviews)(MTLumaDodgePillView*, SEL);
void hook_MTLumaDodgePillView_layoutSubviews(MTLumaDodgePillView*, SEL);

} // namespace lumetrix
