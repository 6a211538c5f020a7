#pragma once
// Anchors for a size: width, height.

#include "NSLayoutAnchor.h"
#include "NSLayoutConstraint.h"

class NSLayoutDimension : public NSLayoutAnchor {
    OBJC_INTERFACE(NSLayoutDimension)
public:
    NSLayoutDimension() = default;

    objc::RefPtr<NSLayoutConstraint> constraintEqualToConstant(CGFloat constant) const
    {
        return constraintEqualTo(nullptr, 1, constant);
    }
    objc::RefPtr<NSLayoutConstraint> constraintEqualToAnchor(const NSLayoutDimension* other, CGFloat constant = 0) const
    {
        return constraintEqualTo(other, 1, constant);
    }
    objc::RefPtr<NSLayoutConstraint> constraintEqualToAnchor(const NSLayoutDimension* other, CGFloat multiplier, CGFloat constant) const
    {
        return constraintEqualTo(other, multiplier, constant);
    }
};
