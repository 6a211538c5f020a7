#include "NSLayoutConstraint.h"

#include "Platform/PlatformLimits.h"

#include "Foundation/NSLog.h"
#include "UILayoutGuide.h"
#include "UIView.h"

#include <cstdio>
#include <unordered_set>

namespace {

UIView* viewOfItem(NSObject* item)
{
    if (auto* view = objc_cast<UIView>(item))
        return view;
    if (auto* guide = objc_cast<UILayoutGuide>(item))
        return guide->owningView();
    return nullptr;
}

UIView* nearestCommonAncestor(UIView* a, UIView* b)
{
    std::unordered_set<UIView*> ancestorsOfA;
    for (UIView* view = a; view; view = view->superview())
        ancestorsOfA.insert(view);
    for (UIView* view = b; view; view = view->superview()) {
        if (ancestorsOfA.count(view))
            return view;
    }
    return nullptr;
}

std::uint64_t nextActivationOrder()
{
    static std::uint64_t counter = 0;
    return ++counter;
}

} // namespace

objc::RefPtr<NSLayoutConstraint> NSLayoutConstraint::constraintWithItem(NSObject* item1, NSLayoutAttribute attribute1,
    NSObject* item2, NSLayoutAttribute attribute2, CGFloat multiplier, CGFloat constant)
{
    auto constraint = NSLayoutConstraint::alloc();
    constraint->m_firstItem = item1;
    constraint->m_firstAttribute = attribute1;
    constraint->m_secondItem = item2;
    constraint->m_secondAttribute = item2 ? attribute2 : NSLayoutAttributeNotAnAttribute;
    constraint->m_multiplier = multiplier;
    constraint->m_constant = constant;
    return constraint;
}

objc::RefPtr<NSLayoutConstraint> NSLayoutConstraint::constraintWithItem(NSObject* item1, NSLayoutAttribute attribute1, NSLayoutRelation relation,
    NSObject* item2, NSLayoutAttribute attribute2, CGFloat multiplier, CGFloat constant)
{
    if (relation != NSLayoutRelationEqual)
        platform::notModelled("+[NSLayoutConstraint constraintWithItem:attribute:relatedBy:toItem:attribute:multiplier:constant:]",
            "relation " + std::to_string(relation) + " (an inequality constraint)");
    return constraintWithItem(item1, attribute1, item2, attribute2, multiplier, constant);
}

void NSLayoutConstraint::setPriority(float priority)
{
    if (priority != UILayoutPriorityRequired)
        platform::notModelled("-[NSLayoutConstraint setPriority:]", "priority " + std::to_string(priority) + " (an optional constraint)");
}

void NSLayoutConstraint::setConstant(CGFloat constant)
{
    if (m_constant == constant)
        return;
    m_constant = constant;
    if (m_installedView)
        m_installedView->setNeedsLayout();
}

void NSLayoutConstraint::setActive(bool active)
{
    if (active == isActive())
        return;
    objc::RefPtr<NSLayoutConstraint> protectedThis(this);
    if (!active) {
        m_installedView->uninstallConstraint(this);
        return;
    }
    UIView* first = viewOfItem(firstItem());
    UIView* host = nullptr;
    if (first && !m_secondItem.get())
        host = first;
    else if (UIView* second = viewOfItem(secondItem()); first && second)
        host = nearestCommonAncestor(first, second);
    if (!host) {
        NSLog("[LayoutConstraints] Unable to activate constraint %s: its items have no common ancestor. "
              "Does the constraint reference items in different view hierarchies?",
            descriptionString().c_str());
        return;
    }
    m_activationOrder = nextActivationOrder();
    m_installedView = host;
    host->installConstraint(this);
}

bool NSLayoutConstraint::markConflictReported()
{
    bool first = !m_conflictReported;
    m_conflictReported = true;
    return first;
}

std::string NSLayoutConstraint::descriptionString() const
{
    auto itemName = [](NSObject* item) {
        if (!item)
            return std::string("(nil)");
        char address[32];
        std::snprintf(address, sizeof(address), "%p", static_cast<const void*>(item));
        return std::string(class_getName(item->getClass())) + ":" + address;
    };
    std::string text = "<NSLayoutConstraint " + itemName(firstItem()) + "." + NSLayoutAttributeName(m_firstAttribute) + " == ";
    char number[64];
    if (m_secondAttribute != NSLayoutAttributeNotAnAttribute) {
        if (m_multiplier != 1) {
            std::snprintf(number, sizeof(number), "%g*", m_multiplier);
            text += number;
        }
        text += itemName(secondItem()) + "." + NSLayoutAttributeName(m_secondAttribute);
        if (m_constant != 0) {
            std::snprintf(number, sizeof(number), " %s %g", m_constant < 0 ? "-" : "+", m_constant < 0 ? -m_constant : m_constant);
            text += number;
        }
    } else {
        std::snprintf(number, sizeof(number), "%g", m_constant);
        text += number;
    }
    return text + ">";
}

namespace {

// Each constraint of the array in order (a copy of the list: activation may call out while
// it is walked).
void setEachActive(id constraints, bool active)
{
    auto* array = objc_cast<NSArray>(constraints);
    if (!array)
        return;
    auto objects = array->objects();
    for (auto& object : objects) {
        if (auto* constraint = objc_cast<NSLayoutConstraint>(object.get()))
            constraint->setActive(active);
    }
}

} // namespace

void NSLayoutConstraint::registerRuntimeClass()
{
    Class cls = objc::defineClass<NSLayoutConstraint>("NSLayoutConstraint", NSObject::staticClass());
    objc::addMethod(objc::metaclassOf(cls), "activateConstraints:", +[](Class, SEL, id constraints) { setEachActive(constraints, true); });
    objc::addMethod(objc::metaclassOf(cls), "deactivateConstraints:", +[](Class, SEL, id constraints) { setEachActive(constraints, false); });
}
