#pragma once
// NSLayoutAnchor: one edge, centre line or dimension of a view or layout guide, from
// which constraints are made. An anchor refers to its item weakly, as the item caches
// its anchors; the typed subclasses (x axis, y axis, dimension) only let like be
// constrained to like.

#include "CoreGraphics/CGGeometry.h"
#include "Foundation/NSObject.h"

class NSLayoutConstraint;

enum NSLayoutAttribute : long {
    NSLayoutAttributeNotAnAttribute = 0,
    NSLayoutAttributeLeft = 1,
    NSLayoutAttributeRight = 2,
    NSLayoutAttributeTop = 3,
    NSLayoutAttributeBottom = 4,
    NSLayoutAttributeLeading = 5,
    NSLayoutAttributeTrailing = 6,
    NSLayoutAttributeWidth = 7,
    NSLayoutAttributeHeight = 8,
    NSLayoutAttributeCenterX = 9,
    NSLayoutAttributeCenterY = 10,
};

const char* NSLayoutAttributeName(NSLayoutAttribute);

class NSLayoutAnchor : public NSObject {
    OBJC_INTERFACE(NSLayoutAnchor)
public:
    NSLayoutAnchor() = default;

    // The view or layout guide, or null once it is gone.
    NSObject* item() const { return m_item.get(); }
    NSLayoutAttribute attribute() const { return m_attribute; }

    std::string descriptionString() const override;

    // Defines NSLayoutAnchor and its three typed subclasses, with their methods.
    static void registerRuntimeClasses();

    // Inequalities are not modelled (layout solves equalities only): each stops the
    // process, naming the call, rather than making an equality.
    objc::RefPtr<NSLayoutConstraint> constraintGreaterThanOrEqualToAnchor(const NSLayoutAnchor* other, CGFloat constant = 0) const;
    objc::RefPtr<NSLayoutConstraint> constraintLessThanOrEqualToAnchor(const NSLayoutAnchor* other, CGFloat constant = 0) const;

    // Used by the items that own anchors.
    void setUp(NSObject* item, NSLayoutAttribute attribute)
    {
        m_item = item;
        m_attribute = attribute;
    }

protected:
    // Stops the process: "-[<class> <selector>]: an inequality constraint is not modelled".
    [[noreturn]] void refuseInequality(const char* selector) const;
    objc::RefPtr<NSLayoutConstraint> constraintEqualTo(const NSLayoutAnchor* other, CGFloat multiplier, CGFloat constant) const;

private:
    objc::WeakPtr<NSObject> m_item;
    NSLayoutAttribute m_attribute = NSLayoutAttributeNotAnAttribute;
};
