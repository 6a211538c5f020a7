// The player inside every full-screen app, built into the app's scene view controller.

#include "startup/Hooks.h"

namespace lumetrix {

void (*orig_SBDeviceApplicationSceneViewController_viewDidLoad)(SBDeviceApplicationSceneViewController*, SEL);

void hook_SBDeviceApplicationSceneViewController_viewDidLoad(SBDeviceApplicationSceneViewController* self, SEL _cmd)
{
    orig_SBDeviceApplicationSceneViewController_viewDidLoad(self, _cmd);
}

void SBDeviceApplicationSceneViewController_hidemediaplayer(SBDeviceApplicationSceneViewController*, SEL, id) { }
void SBDeviceApplicationSceneViewController_showmediaplayer(SBDeviceApplicationSceneViewController*, SEL, id) { }
void SBDeviceApplicationSceneViewController_playpausenotif(SBDeviceApplicationSceneViewController*, SEL) { }
void SBDeviceApplicationSceneViewController_updateProgress(SBDeviceApplicationSceneViewController*, SEL, id) { }
void SBDeviceApplicationSceneViewController_tapGesture(SBDeviceApplicationSceneViewController*, SEL, id) { }
void SBDeviceApplicationSceneViewController_swipeleft(SBDeviceApplicationSceneViewController*, SEL, id) { }
void SBDeviceApplicationSceneViewController_swiperight(SBDeviceApplicationSceneViewController*, SEL, id) { }
void SBDeviceApplicationSceneViewController_dismissControls(SBDeviceApplicationSceneViewController*, SEL, id) { }
void SBDeviceApplicationSceneViewController_updateMedia(SBDeviceApplicationSceneViewController*, SEL) { }

} // namespace lumetrix
