#pragma once
// Anchors for a size: width, height.

#include "NSLayoutAnchor.h"
#include "NSLayoutConstraint.h"

class NSLayoutDimension : public NSLayoutAnchor {
    OBJC_INTERFACE(NSLayoutDimension)
public:
    NSLayoutDimension() = default;

    // The equalities are sent through the runtime.
    objc::RefPtr<NSLayoutConstraint> constraintEqualToConstant(CGFloat constant) const
    {
        return static_cast<NSLayoutConstraint*>(objc_send<"constraintEqualToConstant:", id>(this, constant));
    }
    // Not modelled, as the anchors' inequalities: each stops the process.
    objc::RefPtr<NSLayoutConstraint> constraintGreaterThanOrEqualToConstant(CGFloat) const
    {
        refuseInequality("constraintGreaterThanOrEqualToConstant:");
    }
    objc::RefPtr<NSLayoutConstraint> constraintLessThanOrEqualToConstant(CGFloat) const
    {
        refuseInequality("constraintLessThanOrEqualToConstant:");
    }
    objc::RefPtr<NSLayoutConstraint> constraintEqualToAnchor(const NSLayoutDimension* other, CGFloat constant = 0) const
    {
        return static_cast<NSLayoutConstraint*>(objc_send<"constraintEqualToAnchor:constant:", id>(this, const_cast<NSLayoutDimension*>(other), constant));
    }
    objc::RefPtr<NSLayoutConstraint> constraintEqualToAnchor(const NSLayoutDimension* other, CGFloat multiplier, CGFloat constant) const
    {
        return static_cast<NSLayoutConstraint*>(objc_send<"constraintEqualToAnchor:multiplier:constant:", id>(this, const_cast<NSLayoutDimension*>(other), multiplier, constant));
    }
};
