#pragma once
// UIKit's own geometry types.

#include "CoreGraphics/CGGeometry.h"
#include "objc/RefPtr.h"

class NSString;

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

// Text forms, as UIKit writes them: "{x, y}", "{w, h}", "{{x, y}, {w, h}}", each number
// in its shortest exact form ("137.5", "812").
objc::RefPtr<NSString> NSStringFromCGPoint(CGPoint);
objc::RefPtr<NSString> NSStringFromCGSize(CGSize);
objc::RefPtr<NSString> NSStringFromCGRect(CGRect);

namespace objc {
// clang-format off
template<> struct TypeEncoding<UIEdgeInsets> { static constexpr const char* value = "{UIEdgeInsets=dddd}"; };
// clang-format on
} // namespace objc
