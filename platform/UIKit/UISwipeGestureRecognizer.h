#pragma once
// UISwipeGestureRecognizer: recognizes a swipe in one of its permitted directions.
//
// UIKit does not document how far or fast a swipe must go. Here a swipe's direction is
// that of its larger displacement (horizontal wins a tie), and it must cover at least
// minimumDistance points along that axis.

#include "UIGestureRecognizer.h"

using UISwipeGestureRecognizerDirection = unsigned long;
inline constexpr UISwipeGestureRecognizerDirection UISwipeGestureRecognizerDirectionRight = 1 << 0;
inline constexpr UISwipeGestureRecognizerDirection UISwipeGestureRecognizerDirectionLeft = 1 << 1;
inline constexpr UISwipeGestureRecognizerDirection UISwipeGestureRecognizerDirectionUp = 1 << 2;
inline constexpr UISwipeGestureRecognizerDirection UISwipeGestureRecognizerDirectionDown = 1 << 3;

class UISwipeGestureRecognizer : public UIGestureRecognizer {
    OBJC_INTERFACE(UISwipeGestureRecognizer)
public:
    static constexpr CGFloat minimumDistance = 10;

    UISwipeGestureRecognizer() = default;

    UISwipeGestureRecognizerDirection direction() const { return m_direction; }
    void setDirection(UISwipeGestureRecognizerDirection direction) { objc_send<"setDirection:">(this, direction); }

    // The direction of a movement, or 0 when it is too short to be a swipe.
    static UISwipeGestureRecognizerDirection directionOf(CGPoint start, CGPoint end);

    bool recognizes(const UIGesture& gesture) const override
    {
        return gesture.kind == UIGesture::Kind::Swipe && (directionOf(gesture.start, gesture.end) & m_direction);
    }

    static void registerRuntimeClass();

private:
    UISwipeGestureRecognizerDirection m_direction = UISwipeGestureRecognizerDirectionRight;
};
