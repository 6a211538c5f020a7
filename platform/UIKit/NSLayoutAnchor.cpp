#include "NSLayoutAnchor.h"

#include "NSLayoutConstraint.h"

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
