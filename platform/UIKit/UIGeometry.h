#pragma once
// UIKit's own geometry types.

#include "CoreGraphics/CGGeometry.h"

struct UIEdgeInsets {
    CGFloat top = 0;
    CGFloat left = 0;
    CGFloat bottom = 0;
    CGFloat right = 0;
};

inline constexpr UIEdgeInsets UIEdgeInsetsZero {};

inline UIEdgeInsets UIEdgeInsetsMake(CGFloat top, CGFloat left, CGFloat bottom, CGFloat right) { return { top, left, bottom, right }; }

inline bool UIEdgeInsetsEqualToEdgeInsets(UIEdgeInsets a, UIEdgeInsets b)
{
    return a.top == b.top && a.left == b.left && a.bottom == b.bottom && a.right == b.right;
}

inline CGRect UIEdgeInsetsInsetRect(CGRect rect, UIEdgeInsets insets)
{
    return CGRectMake(rect.origin.x + insets.left, rect.origin.y + insets.top,
        rect.size.width - insets.left - insets.right, rect.size.height - insets.top - insets.bottom);
}

namespace objc {
template<> struct TypeEncoding<UIEdgeInsets> { static constexpr const char* value = "{UIEdgeInsets=dddd}"; };
} // namespace objc
