#pragma once
// Pictures of the simulated phone: the whole screen, a region of it scaled up, or any
// view tree on its own. Each lays out what is waiting for layout first (as the next
// display refresh would) and draws at the run loop's current instant.

#include "Canvas.h"
#include "Pictures.h"

#include "CoreGraphics/CGGeometry.h"
#include "UIKit/UIColor.h"

#include <vector>

class SpringBoard;
class UIView;
class UIWindow;

namespace sim::render {

// The screen in points, from the current device profile.
CGRect screenRegion();
// The device's pixels per point (3 on every profile here).
CGFloat deviceScale();

// The whole screen at device scale: SpringBoard's windows, back to front, over their
// backdrops (the lock-screen wallpaper and clock under the cover sheet, the home screen
// under the switcher, each open app's page under its scene). A null SpringBoard (not
// booted, or between processes) gives the dark screen of a phone that is off.
Canvas snapshotScreen(SpringBoard*);

// `region` (screen points) at `pixelsPerPoint`: drawn at that resolution, not scaled up
// from screen pixels, so an enlarged crop stays sharp.
Canvas snapshotRegion(SpringBoard*, CGRect region, CGFloat pixelsPerPoint);

// A picture of one view tree on its own (a settings pane), at device scale, over
// `background` (opaque white when not given). The picture covers the root's frame.
Canvas snapshotView(UIView* root, const UIColorComponents* background = nullptr);

// The region to show around some views: their union in screen coordinates, grown by
// `margin` on every side, widened to at least `minimumSize` about its centre, and kept
// on the screen. Views that are hidden or not in a tree count all the same; nulls are
// skipped. Empty when there are no views.
CGRect regionAroundViews(const std::vector<UIView*>&, CGFloat margin, CGSize minimumSize);

} // namespace sim::render
