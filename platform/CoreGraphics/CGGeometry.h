#pragma once
// Core Graphics geometry: points, sizes and rectangles in points, y growing downwards,
// as UIKit uses them. Plain aggregates, passed by value through the runtime like the
// C structures they stand for, hence the type encodings at the end.

#include "CGAffineTransform.h"
#include "objc/Encoding.h"

#include <algorithm>

struct CGPoint {
    CGFloat x = 0;
    CGFloat y = 0;
};

struct CGSize {
    CGFloat width = 0;
    CGFloat height = 0;
};

struct CGRect {
    CGPoint origin;
    CGSize size;
};

inline constexpr CGRect CGRectZero {};
inline constexpr CGPoint CGPointZero {};
inline constexpr CGSize CGSizeZero {};

inline CGPoint CGPointMake(CGFloat x, CGFloat y) { return { x, y }; }
inline CGSize CGSizeMake(CGFloat width, CGFloat height) { return { width, height }; }
inline CGRect CGRectMake(CGFloat x, CGFloat y, CGFloat width, CGFloat height) { return { { x, y }, { width, height } }; }

// The getters below standardise the rectangle first, as Core Graphics does, so a
// rectangle with a negative size answers the same as its positive twin.
inline CGFloat CGRectGetWidth(CGRect r) { return r.size.width < 0 ? -r.size.width : r.size.width; }
inline CGFloat CGRectGetHeight(CGRect r) { return r.size.height < 0 ? -r.size.height : r.size.height; }
inline CGFloat CGRectGetMinX(CGRect r) { return std::min(r.origin.x, r.origin.x + r.size.width); }
inline CGFloat CGRectGetMinY(CGRect r) { return std::min(r.origin.y, r.origin.y + r.size.height); }
inline CGFloat CGRectGetMaxX(CGRect r) { return std::max(r.origin.x, r.origin.x + r.size.width); }
inline CGFloat CGRectGetMaxY(CGRect r) { return std::max(r.origin.y, r.origin.y + r.size.height); }
inline CGFloat CGRectGetMidX(CGRect r) { return CGRectGetMinX(r) + CGRectGetWidth(r) / 2; }
inline CGFloat CGRectGetMidY(CGRect r) { return CGRectGetMinY(r) + CGRectGetHeight(r) / 2; }

// Half-open, as Core Graphics defines it: the right and bottom edges are outside.
inline bool CGRectContainsPoint(CGRect r, CGPoint p)
{
    return p.x >= CGRectGetMinX(r) && p.x < CGRectGetMaxX(r) && p.y >= CGRectGetMinY(r) && p.y < CGRectGetMaxY(r);
}

inline bool CGPointEqualToPoint(CGPoint a, CGPoint b) { return a.x == b.x && a.y == b.y; }
inline bool CGSizeEqualToSize(CGSize a, CGSize b) { return a.width == b.width && a.height == b.height; }
inline bool CGRectEqualToRect(CGRect a, CGRect b) { return CGPointEqualToPoint(a.origin, b.origin) && CGSizeEqualToSize(a.size, b.size); }
inline bool CGRectIsEmpty(CGRect r) { return r.size.width == 0 || r.size.height == 0; }

namespace objc {
// clang-format off
template<> struct TypeEncoding<CGPoint> { static constexpr const char* value = "{CGPoint=dd}"; };
template<> struct TypeEncoding<CGSize> { static constexpr const char* value = "{CGSize=dd}"; };
template<> struct TypeEncoding<CGRect> { static constexpr const char* value = "{CGRect={CGPoint=dd}{CGSize=dd}}"; };
template<> struct TypeEncoding<CGAffineTransform> { static constexpr const char* value = "{CGAffineTransform=dddddd}"; };
// clang-format on
} // namespace objc
