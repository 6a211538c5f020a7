#pragma once
// Anchors on the vertical axis: top, bottom, centre Y.

#include "NSLayoutAnchor.h"
#include "NSLayoutConstraint.h"

class NSLayoutYAxisAnchor : public NSLayoutAnchor {
    OBJC_INTERFACE(NSLayoutYAxisAnchor)
public:
    NSLayoutYAxisAnchor() = default;

    objc::RefPtr<NSLayoutConstraint> constraintEqualToAnchor(const NSLayoutYAxisAnchor* other, CGFloat constant = 0) const
    {
        return constraintEqualTo(other, 1, constant);
    }
};
