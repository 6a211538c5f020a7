#include "UISwipeGestureRecognizer.h"

#include <cmath>

UISwipeGestureRecognizerDirection UISwipeGestureRecognizer::directionOf(CGPoint start, CGPoint end)
{
    CGFloat dx = end.x - start.x;
    CGFloat dy = end.y - start.y;
    if (std::abs(dx) >= std::abs(dy)) {
        if (std::abs(dx) < minimumDistance)
            return 0;
        return dx > 0 ? UISwipeGestureRecognizerDirectionRight : UISwipeGestureRecognizerDirectionLeft;
    }
    if (std::abs(dy) < minimumDistance)
        return 0;
    return dy > 0 ? UISwipeGestureRecognizerDirectionDown : UISwipeGestureRecognizerDirectionUp;
}

void UISwipeGestureRecognizer::registerRuntimeClass()
{
    Class cls = objc::defineClass<UISwipeGestureRecognizer>("UISwipeGestureRecognizer", UIGestureRecognizer::staticClass());
    objc::addMethod(cls, "setDirection:", +[](UISwipeGestureRecognizer* self, SEL, UISwipeGestureRecognizerDirection direction) { self->m_direction = direction; });
}
