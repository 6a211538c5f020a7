#pragma once
// Affine transforms as Core Graphics stores them: [x' y'] = [x y 1] * | a  b  0 |
//                                                                   | c  d  0 |
//                                                                   | tx ty 1 |

#include <cmath>

using CGFloat = double;

struct CGAffineTransform {
    CGFloat a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;
};

inline constexpr CGAffineTransform CGAffineTransformIdentity {};

inline CGAffineTransform CGAffineTransformMakeRotation(CGFloat angle)
{
    CGFloat cosine = std::cos(angle);
    CGFloat sine = std::sin(angle);
    return { cosine, sine, -sine, cosine, 0, 0 };
}

inline CGAffineTransform CGAffineTransformMakeTranslation(CGFloat tx, CGFloat ty) { return { 1, 0, 0, 1, tx, ty }; }
inline CGAffineTransform CGAffineTransformMakeScale(CGFloat sx, CGFloat sy) { return { sx, 0, 0, sy, 0, 0 }; }

inline bool CGAffineTransformEqualToTransform(CGAffineTransform t1, CGAffineTransform t2)
{
    return t1.a == t2.a && t1.b == t2.b && t1.c == t2.c && t1.d == t2.d && t1.tx == t2.tx && t1.ty == t2.ty;
}

inline bool CGAffineTransformIsIdentity(CGAffineTransform t) { return CGAffineTransformEqualToTransform(t, CGAffineTransformIdentity); }
