#pragma once
// UIColor: an RGBA colour, components from 0 to 1. The named system colours keep their
// names (dumps show them), and labelColor is dynamic: it resolves against the current
// appearance each time it is read, as a trait-collection colour does on iOS.

#include "CoreGraphics/CGGeometry.h"
#include "Foundation/NSObject.h"

#include <string>

enum class UIUserInterfaceStyle {
    Unspecified = 0,
    Light = 1,
    Dark = 2
};

// The appearance that dynamic colours resolve against (process-wide; light by default).
UIUserInterfaceStyle UIKitCurrentUserInterfaceStyle();
void UIKitSetCurrentUserInterfaceStyle(UIUserInterfaceStyle);

struct UIColorComponents {
    CGFloat red = 0;
    CGFloat green = 0;
    CGFloat blue = 0;
    CGFloat alpha = 0;
};

class UIColor : public NSObject {
    OBJC_INTERFACE(UIColor)
public:
    UIColor() = default;

    // The constructors are class methods, sent to the class through the runtime.
    static objc::RefPtr<UIColor> colorWithRed(CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha)
    {
        return objc_sendToClassForObject<"UIColor", "colorWithRed:green:blue:alpha:", UIColor>(red, green, blue, alpha);
    }
    static objc::RefPtr<UIColor> colorWithWhite(CGFloat white, CGFloat alpha)
    {
        return objc_sendToClassForObject<"UIColor", "colorWithWhite:alpha:", UIColor>(white, alpha);
    }

    static objc::RefPtr<UIColor> clearColor() { return objc_sendToClassForObject<"UIColor", "clearColor", UIColor>(); }
    static objc::RefPtr<UIColor> whiteColor() { return objc_sendToClassForObject<"UIColor", "whiteColor", UIColor>(); }
    static objc::RefPtr<UIColor> blackColor() { return objc_sendToClassForObject<"UIColor", "blackColor", UIColor>(); }
    static objc::RefPtr<UIColor> grayColor() { return objc_sendToClassForObject<"UIColor", "grayColor", UIColor>(); }
    static objc::RefPtr<UIColor> redColor() { return objc_sendToClassForObject<"UIColor", "redColor", UIColor>(); }
    // Black in the light appearance, white in the dark one, alpha 1.
    static objc::RefPtr<UIColor> labelColor() { return objc_sendToClassForObject<"UIColor", "labelColor", UIColor>(); }

    // -getRed:green:blue:alpha:, through the runtime: the components for the current
    // appearance. Always succeeds for these colours.
    bool getRed(CGFloat* red, CGFloat* green, CGFloat* blue, CGFloat* alpha) const
    {
        return objc_send<"getRed:green:blue:alpha:", bool>(this, red, green, blue, alpha);
    }
    bool getWhite(CGFloat* white, CGFloat* alpha) const;
    UIColorComponents components() const;
    // The system name ("clearColor", "labelColor", ...) or empty for a made colour.
    const std::string& systemName() const { return m_name; }
    bool isDynamic() const { return m_dynamic; }

    objc::RefPtr<UIColor> colorWithAlphaComponent(CGFloat alpha) const;

    // {"rgba": [r, g, b, a]} for the current appearance, plus "name" for system colours.
    nlohmann::json jsonValue() const override;
    std::string descriptionString() const override;
    bool isEqual(const NSObject*) const override;
    std::size_t hash() const override;

    static void registerRuntimeClass();

private:
    static objc::RefPtr<UIColor> make(UIColorComponents, std::string name, bool dynamic);

    UIColorComponents m_components;
    std::string m_name;
    bool m_dynamic = false;
};
