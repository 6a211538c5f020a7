// The in-app player's controls and visibility: taps, swipes, the fade-out, the strip's
// refresh, and hiding and showing with the home grabber.

#include "startup/Hooks.h"

namespace lumetrix {

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
