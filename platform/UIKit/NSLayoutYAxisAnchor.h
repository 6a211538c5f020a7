#pragma once
// Anchors on the vertical axis: top, bottom, centre Y.

#include "NSLayoutAnchor.h"
#include "NSLayoutConstraint.h"

class NSLayoutYAxisAnchor : public NSLayoutAnchor {
    OBJC_INTERFACE(NSLayoutYAxisAnchor)
public:
    NSLayoutYAxisAnchor() = default;

    // -constraintEqualToAnchor:constant:, through the runtime.
    objc::RefPtr<NSLayoutConstraint> constraintEqualToAnchor(const NSLayoutYAxisAnchor* other, CGFloat constant = 0) const
    {
        return static_cast<NSLayoutConstraint*>(objc_send<"constraintEqualToAnchor:constant:", id>(this, const_cast<NSLayoutYAxisAnchor*>(other), constant));
    }
};
