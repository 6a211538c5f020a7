#pragma once
// Anchors on the horizontal axis: left, right, leading, trailing, centre X.

#include "NSLayoutAnchor.h"
#include "NSLayoutConstraint.h"

class NSLayoutXAxisAnchor : public NSLayoutAnchor {
    OBJC_INTERFACE(NSLayoutXAxisAnchor)
public:
    NSLayoutXAxisAnchor() = default;

    objc::RefPtr<NSLayoutConstraint> constraintEqualToAnchor(const NSLayoutXAxisAnchor* other, CGFloat constant = 0) const
    {
        return constraintEqualTo(other, 1, constant);
    }
};
