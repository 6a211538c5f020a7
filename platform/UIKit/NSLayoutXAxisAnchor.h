#pragma once
// Anchors on the horizontal axis: left, right, leading, trailing, centre X.

#include "NSLayoutAnchor.h"
#include "NSLayoutConstraint.h"

class NSLayoutXAxisAnchor : public NSLayoutAnchor {
    OBJC_INTERFACE(NSLayoutXAxisAnchor)
public:
    NSLayoutXAxisAnchor() = default;

    // -constraintEqualToAnchor:constant:, through the runtime.
    objc::RefPtr<NSLayoutConstraint> constraintEqualToAnchor(const NSLayoutXAxisAnchor* other, CGFloat constant = 0) const
    {
        return static_cast<NSLayoutConstraint*>(objc_send<"constraintEqualToAnchor:constant:", id>(this, const_cast<NSLayoutXAxisAnchor*>(other), constant));
    }
};
