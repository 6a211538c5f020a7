#pragma once
// Touch delivery: where a finished touch sequence (a tap, a swipe) goes. The touch is
// hit-tested front to back from the root (UIView::hitTest), then given to the first
// enabled recognizer that takes it, looking at the hit view's recognizers in the order
// they were added and then at its ancestors'. Pending layout is done first, so touches
// meet the frames on screen.
//
// Points are screen points: for a window, the screen's coordinates; for a tree outside
// any window, its root's frame coordinates.

#include "CoreGraphics/CGGeometry.h"

class UIGestureRecognizer;
class UIView;
class UIWindow;

class UITouchDelivery {
public:
    // The recognizer that acted (borrowed), or null when none took the touch.
    static UIGestureRecognizer* tap(UIView* root, CGPoint point, unsigned tapCount = 1);
    // A swipe from `start` to `end`, hit-tested where it began.
    static UIGestureRecognizer* swipe(UIView* root, CGPoint start, CGPoint end);

    // The same on the whole screen: the visible windows front to back; the first one
    // with a view at the point gets the touch.
    static UIGestureRecognizer* tapScreen(CGPoint point, unsigned tapCount = 1);
    static UIGestureRecognizer* swipeScreen(CGPoint start, CGPoint end);
    // The view a touch at the point would reach, or null.
    static UIView* hitTestScreen(CGPoint point);
};
