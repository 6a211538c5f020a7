#pragma once
// NSLayoutConstraint: item1.attribute1 == multiplier × item2.attribute2 + constant, or
// item1.attribute1 == constant for a size. Equalities only, all required: anything else
// stops the process (Platform/PlatformLimits.h).
//
// An active constraint is installed on the nearest common ancestor of its items' views
// (which keeps it); the items themselves are held weakly, since the views own their
// constraints. Removing a view from its superview deactivates the constraints that tie
// it to the tree it leaves.

#include "Foundation/NSArray.h"
#include "NSLayoutAnchor.h"

#include <cstdint>
#include <initializer_list>
#include <vector>

class UIView;

enum NSLayoutRelation : long {
    NSLayoutRelationLessThanOrEqual = -1,
    NSLayoutRelationEqual = 0,
    NSLayoutRelationGreaterThanOrEqual = 1,
};

inline constexpr float UILayoutPriorityRequired = 1000;

class NSLayoutConstraint : public NSObject {
    OBJC_INTERFACE(NSLayoutConstraint)
public:
    NSLayoutConstraint() = default;

    static objc::RefPtr<NSLayoutConstraint> constraintWithItem(NSObject* item1, NSLayoutAttribute attribute1,
        NSObject* item2, NSLayoutAttribute attribute2, CGFloat multiplier, CGFloat constant);
    // With a relation: only NSLayoutRelationEqual is modelled; the others stop the process.
    static objc::RefPtr<NSLayoutConstraint> constraintWithItem(NSObject* item1, NSLayoutAttribute attribute1, NSLayoutRelation,
        NSObject* item2, NSLayoutAttribute attribute2, CGFloat multiplier, CGFloat constant);

    // Activates each constraint in order. Items without a common ancestor are reported in
    // the log and that constraint stays inactive (UIKit would raise).
    // +activateConstraints: and +deactivateConstraints:, sent to the class. The C++ lists
    // become the NSArray the message takes (nil entries left out).
    static void activateConstraints(const NSArray* constraints)
    {
        objc_sendToClass<"NSLayoutConstraint", "activateConstraints:">(const_cast<NSArray*>(constraints));
    }
    static void activateConstraints(const std::vector<objc::RefPtr<NSLayoutConstraint>>& constraints)
    {
        activateConstraints(arrayOf(constraints.begin(), constraints.end()).get());
    }
    static void activateConstraints(std::initializer_list<NSLayoutConstraint*> constraints)
    {
        activateConstraints(arrayOf(constraints.begin(), constraints.end()).get());
    }
    static void deactivateConstraints(const NSArray* constraints)
    {
        objc_sendToClass<"NSLayoutConstraint", "deactivateConstraints:">(const_cast<NSArray*>(constraints));
    }

    NSObject* firstItem() const { return m_firstItem.get(); }
    NSLayoutAttribute firstAttribute() const { return m_firstAttribute; }
    NSObject* secondItem() const { return m_secondItem.get(); }
    NSLayoutAttribute secondAttribute() const { return m_secondAttribute; }
    CGFloat multiplier() const { return m_multiplier; }
    CGFloat constant() const { return m_constant; }
    void setConstant(CGFloat);
    // Every constraint is required; a lower priority is not modelled and stops the process.
    float priority() const { return UILayoutPriorityRequired; }
    void setPriority(float);

    bool isActive() const { return m_installedView; }
    void setActive(bool);

    std::string descriptionString() const override;

    // For the layout engine: the order of activation, the view it is installed on, and
    // whether a conflict has already been written to the log (it is written once).
    std::uint64_t activationOrder() const { return m_activationOrder; }
    UIView* installedView() const { return m_installedView; }
    bool markConflictReported();
    // Called by the view that keeps it, when that view lets it go.
    void didUninstall() { m_installedView = nullptr; }

    static void registerRuntimeClass();

private:
    template<typename Iterator>
    static objc::RefPtr<NSArray> arrayOf(Iterator begin, Iterator end)
    {
        std::vector<objc::RefPtr<NSObject>> objects;
        for (auto it = begin; it != end; ++it) {
            if (NSObject* object = objectOf(*it))
                objects.emplace_back(object);
        }
        return NSArray::create(std::move(objects));
    }
    static NSObject* objectOf(NSLayoutConstraint* constraint) { return constraint; }
    static NSObject* objectOf(const objc::RefPtr<NSLayoutConstraint>& constraint) { return constraint.get(); }

    objc::WeakPtr<NSObject> m_firstItem;
    NSLayoutAttribute m_firstAttribute = NSLayoutAttributeNotAnAttribute;
    objc::WeakPtr<NSObject> m_secondItem;
    NSLayoutAttribute m_secondAttribute = NSLayoutAttributeNotAnAttribute;
    CGFloat m_multiplier = 1;
    CGFloat m_constant = 0;

    UIView* m_installedView = nullptr;
    std::uint64_t m_activationOrder = 0;
    bool m_conflictReported = false;
};
