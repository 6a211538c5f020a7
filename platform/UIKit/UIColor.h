#pragma once
// UIColor: an RGBA colour, components from 0 to 1. The named system colours keep their
// names (dumps show them). The semantic ones (labelColor, the grouped backgrounds,
// separatorColor, ...) are dynamic: each holds a light and a dark value and resolves
// against the current appearance each time it is read, as a trait-collection colour does
// on iOS, so a view coloured once stays readable when the appearance changes.

#include "CoreGraphics/CGGeometry.h"
#include "Foundation/NSObject.h"

#include <optional>
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
    // Dynamic system colours, light / dark as iOS documents them.
    // rgba(60, 60, 67, 0.6) / rgba(235, 235, 245, 0.6): details, footers, headers.
    static objc::RefPtr<UIColor> secondaryLabelColor() { return objc_sendToClassForObject<"UIColor", "secondaryLabelColor", UIColor>(); }
    // rgba(60, 60, 67, 0.3) / rgba(235, 235, 245, 0.3): a text field's placeholder.
    static objc::RefPtr<UIColor> placeholderTextColor() { return objc_sendToClassForObject<"UIColor", "placeholderTextColor", UIColor>(); }
    // rgba(60, 60, 67, 0.29) / rgba(84, 84, 88, 0.6): hairlines between rows.
    static objc::RefPtr<UIColor> separatorColor() { return objc_sendToClassForObject<"UIColor", "separatorColor", UIColor>(); }
    // White / black: a plain page.
    static objc::RefPtr<UIColor> systemBackgroundColor() { return objc_sendToClassForObject<"UIColor", "systemBackgroundColor", UIColor>(); }
    // #F2F2F7 / black: what a grouped table's sections lie on.
    static objc::RefPtr<UIColor> systemGroupedBackgroundColor() { return objc_sendToClassForObject<"UIColor", "systemGroupedBackgroundColor", UIColor>(); }
    // White / #1C1C1E: the rows of a grouped table.
    static objc::RefPtr<UIColor> secondarySystemGroupedBackgroundColor() { return objc_sendToClassForObject<"UIColor", "secondarySystemGroupedBackgroundColor", UIColor>(); }
    // rgba(120, 120, 128, 0.16) / rgba(120, 120, 128, 0.32): an off switch's track.
    static objc::RefPtr<UIColor> secondarySystemFillColor() { return objc_sendToClassForObject<"UIColor", "secondarySystemFillColor", UIColor>(); }
    // rgb(255, 59, 48) / rgb(255, 69, 58): warnings.
    static objc::RefPtr<UIColor> systemRedColor() { return objc_sendToClassForObject<"UIColor", "systemRedColor", UIColor>(); }

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
    bool isDynamic() const { return m_darkComponents.has_value(); }
    // The value for an appearance, whatever the current one is.
    UIColorComponents componentsForStyle(UIUserInterfaceStyle) const;

    objc::RefPtr<UIColor> colorWithAlphaComponent(CGFloat alpha) const;

    // {"rgba": [r, g, b, a]} for the current appearance, plus "name" for system colours.
    nlohmann::json jsonValue() const override;
    std::string descriptionString() const override;
    bool isEqual(const NSObject*) const override;
    std::size_t hash() const override;

    static void registerRuntimeClass();

private:
    static objc::RefPtr<UIColor> make(UIColorComponents, std::string name, std::optional<UIColorComponents> dark = std::nullopt);

    // The light appearance's value, or the only one.
    UIColorComponents m_components;
    // Set for a dynamic colour.
    std::optional<UIColorComponents> m_darkComponents;
    std::string m_name;
};
