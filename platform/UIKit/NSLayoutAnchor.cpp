#include "NSLayoutAnchor.h"

#include "NSLayoutConstraint.h"
#include "NSLayoutDimension.h"
#include "NSLayoutXAxisAnchor.h"
#include "NSLayoutYAxisAnchor.h"
#include "Platform/PlatformLimits.h"

const char* NSLayoutAttributeName(NSLayoutAttribute attribute)
{
    switch (attribute) {
    case NSLayoutAttributeLeft: return "left";
    case NSLayoutAttributeRight: return "right";
    case NSLayoutAttributeTop: return "top";
    case NSLayoutAttributeBottom: return "bottom";
    case NSLayoutAttributeLeading: return "leading";
    case NSLayoutAttributeTrailing: return "trailing";
    case NSLayoutAttributeWidth: return "width";
    case NSLayoutAttributeHeight: return "height";
    case NSLayoutAttributeCenterX: return "centerX";
    case NSLayoutAttributeCenterY: return "centerY";
    case NSLayoutAttributeNotAnAttribute: break;
    }
    return "notAnAttribute";
}

std::string NSLayoutAnchor::descriptionString() const
{
    auto* item = m_item.get();
    return (item ? item->descriptionString() : std::string("(nil)")) + "." + NSLayoutAttributeName(m_attribute);
}

objc::RefPtr<NSLayoutConstraint> NSLayoutAnchor::constraintEqualTo(const NSLayoutAnchor* other, CGFloat multiplier, CGFloat constant) const
{
    return NSLayoutConstraint::constraintWithItem(item(), m_attribute, other ? other->item() : nullptr,
        other ? other->attribute() : NSLayoutAttributeNotAnAttribute, multiplier, constant);
}

void NSLayoutAnchor::refuseInequality(const char* selector) const
{
    platform::notModelled(std::string("-[") + class_getName(isa()) + " " + selector + "]", "an inequality constraint");
}

objc::RefPtr<NSLayoutConstraint> NSLayoutAnchor::constraintGreaterThanOrEqualToAnchor(const NSLayoutAnchor*, CGFloat) const
{
    refuseInequality("constraintGreaterThanOrEqualToAnchor:constant:");
}

objc::RefPtr<NSLayoutConstraint> NSLayoutAnchor::constraintLessThanOrEqualToAnchor(const NSLayoutAnchor*, CGFloat) const
{
    refuseInequality("constraintLessThanOrEqualToAnchor:constant:");
}

void NSLayoutAnchor::registerRuntimeClasses()
{
    Class cls = objc::defineClass<NSLayoutAnchor>("NSLayoutAnchor", NSObject::staticClass());
    // A new constraint comes back through the runtime autoreleased, as from any
    // convenience constructor.
    objc::addMethod(cls, "constraintEqualToAnchor:constant:", +[](NSLayoutAnchor* self, SEL, NSLayoutAnchor* other, CGFloat constant) {
        return objc_autorelease(self->constraintEqualTo(other, 1, constant).leakRef());
    });
    objc::defineClass<NSLayoutXAxisAnchor>("NSLayoutXAxisAnchor", cls);
    objc::defineClass<NSLayoutYAxisAnchor>("NSLayoutYAxisAnchor", cls);
    Class dimension = objc::defineClass<NSLayoutDimension>("NSLayoutDimension", cls);
    objc::addMethod(dimension, "constraintEqualToConstant:", +[](NSLayoutDimension* self, SEL, CGFloat constant) {
        return objc_autorelease(self->constraintEqualTo(nullptr, 1, constant).leakRef());
    });
    objc::addMethod(dimension, "constraintEqualToAnchor:multiplier:constant:", +[](NSLayoutDimension* self, SEL, NSLayoutDimension* other, CGFloat multiplier, CGFloat constant) {
        return objc_autorelease(self->constraintEqualTo(other, multiplier, constant).leakRef());
    });
}
