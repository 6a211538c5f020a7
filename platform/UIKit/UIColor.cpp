#include "UIColor.h"

#include <cstdio>
#include <cstring>

namespace {

UIUserInterfaceStyle& currentStyle()
{
    static UIUserInterfaceStyle style = UIUserInterfaceStyle::Light;
    return style;
}

} // namespace

UIUserInterfaceStyle UIKitCurrentUserInterfaceStyle()
{
    return currentStyle();
}

void UIKitSetCurrentUserInterfaceStyle(UIUserInterfaceStyle style)
{
    currentStyle() = style == UIUserInterfaceStyle::Dark ? UIUserInterfaceStyle::Dark : UIUserInterfaceStyle::Light;
}

objc::RefPtr<UIColor> UIColor::make(UIColorComponents components, std::string name, std::optional<UIColorComponents> dark)
{
    auto color = UIColor::alloc();
    color->m_components = components;
    color->m_darkComponents = dark;
    color->m_name = std::move(name);
    return color;
}

UIColorComponents UIColor::componentsForStyle(UIUserInterfaceStyle style) const
{
    if (m_darkComponents && style == UIUserInterfaceStyle::Dark)
        return *m_darkComponents;
    return m_components;
}

UIColorComponents UIColor::components() const
{
    return componentsForStyle(currentStyle());
}

namespace {

bool getRedImp(UIColor* self, SEL, CGFloat* red, CGFloat* green, CGFloat* blue, CGFloat* alpha)
{
    auto c = self->components();
    if (red)
        *red = c.red;
    if (green)
        *green = c.green;
    if (blue)
        *blue = c.blue;
    if (alpha)
        *alpha = c.alpha;
    return true;
}

// Class methods answer autoreleased colours, as UIKit's constructors do.
id autoreleased(objc::RefPtr<UIColor> color)
{
    return objc_autorelease(color.leakRef());
}

constexpr UIColorComponents rgba(int red, int green, int blue, CGFloat alpha)
{
    return { red / 255.0, green / 255.0, blue / 255.0, alpha };
}

// The semantic colours UIKit resolves per appearance, with the values Apple documents for
// its light and dark appearances (standard contrast).
struct DynamicSystemColor {
    const char* name;
    UIColorComponents light;
    UIColorComponents dark;
};

constexpr DynamicSystemColor kDynamicSystemColors[] = {
    { "labelColor", rgba(0, 0, 0, 1), rgba(255, 255, 255, 1) },
    { "secondaryLabelColor", rgba(60, 60, 67, 0.6), rgba(235, 235, 245, 0.6) },
    { "placeholderTextColor", rgba(60, 60, 67, 0.3), rgba(235, 235, 245, 0.3) },
    { "separatorColor", rgba(60, 60, 67, 0.29), rgba(84, 84, 88, 0.6) },
    { "systemBackgroundColor", rgba(255, 255, 255, 1), rgba(0, 0, 0, 1) },
    { "systemGroupedBackgroundColor", rgba(242, 242, 247, 1), rgba(0, 0, 0, 1) },
    { "secondarySystemGroupedBackgroundColor", rgba(255, 255, 255, 1), rgba(28, 28, 30, 1) },
    { "secondarySystemFillColor", rgba(120, 120, 128, 0.16), rgba(120, 120, 128, 0.32) },
    { "systemRedColor", rgba(255, 59, 48, 1), rgba(255, 69, 58, 1) },
};

} // namespace

bool UIColor::getWhite(CGFloat* white, CGFloat* alpha) const
{
    // Rec. 601 luma, what converting to a grey colour space gives for sRGB-ish input.
    auto c = components();
    if (white)
        *white = 0.299 * c.red + 0.587 * c.green + 0.114 * c.blue;
    if (alpha)
        *alpha = c.alpha;
    return true;
}

objc::RefPtr<UIColor> UIColor::colorWithAlphaComponent(CGFloat alpha) const
{
    auto light = m_components;
    light.alpha = alpha;
    std::optional<UIColorComponents> dark = m_darkComponents;
    if (dark)
        dark->alpha = alpha;
    // The result stays dynamic (a label colour made translucent) but is no longer the
    // named system colour.
    return make(light, {}, dark);
}

nlohmann::json UIColor::jsonValue() const
{
    auto c = components();
    nlohmann::json json { { "rgba", { c.red, c.green, c.blue, c.alpha } } };
    if (!m_name.empty())
        json["name"] = m_name;
    return json;
}

std::string UIColor::descriptionString() const
{
    auto c = components();
    char text[96];
    std::snprintf(text, sizeof(text), "UIExtendedSRGBColorSpace %g %g %g %g", c.red, c.green, c.blue, c.alpha);
    return text;
}

bool UIColor::isEqual(const NSObject* other) const
{
    auto* color = objc_cast<UIColor>(const_cast<NSObject*>(other));
    if (!color)
        return false;
    // Dynamic colours are equal when they resolve alike in both appearances, as UIKit's
    // equal providers are; a dynamic colour never equals a fixed one.
    auto same = [](UIColorComponents a, UIColorComponents b) {
        return a.red == b.red && a.green == b.green && a.blue == b.blue && a.alpha == b.alpha;
    };
    if (isDynamic() != color->isDynamic())
        return false;
    return same(m_components, color->m_components) && (!isDynamic() || same(*m_darkComponents, *color->m_darkComponents));
}

std::size_t UIColor::hash() const
{
    auto c = components();
    return std::hash<double>()(c.red) ^ (std::hash<double>()(c.green) << 1) ^ (std::hash<double>()(c.blue) << 2) ^ (std::hash<double>()(c.alpha) << 3);
}

void UIColor::registerRuntimeClass()
{
    Class cls = objc::defineClass<UIColor>("UIColor", NSObject::staticClass());
    objc::addMethod(cls, "getRed:green:blue:alpha:", &getRedImp);

    Class meta = objc::metaclassOf(cls);
    objc::addMethod(meta, "colorWithRed:green:blue:alpha:", +[](Class, SEL, CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha) {
        return autoreleased(make({ red, green, blue, alpha }, {}));
    });
    objc::addMethod(meta, "colorWithWhite:alpha:", +[](Class, SEL, CGFloat white, CGFloat alpha) {
        return autoreleased(make({ white, white, white, alpha }, {}));
    });
    objc::addMethod(meta, "clearColor", +[](Class, SEL) { return autoreleased(make({ 0, 0, 0, 0 }, "clearColor")); });
    objc::addMethod(meta, "whiteColor", +[](Class, SEL) { return autoreleased(make({ 1, 1, 1, 1 }, "whiteColor")); });
    objc::addMethod(meta, "blackColor", +[](Class, SEL) { return autoreleased(make({ 0, 0, 0, 1 }, "blackColor")); });
    // UIKit's grayColor is 50% white.
    objc::addMethod(meta, "grayColor", +[](Class, SEL) { return autoreleased(make({ 0.5, 0.5, 0.5, 1 }, "grayColor")); });
    objc::addMethod(meta, "redColor", +[](Class, SEL) { return autoreleased(make({ 1, 0, 0, 1 }, "redColor")); });
    for (const auto& color : kDynamicSystemColors) {
        // Each class method makes its own colour from its row; the selector names the row.
        objc::addMethod(meta, color.name, +[](Class, SEL cmd) {
            for (const auto& row : kDynamicSystemColors) {
                if (!std::strcmp(row.name, sel_getName(cmd)))
                    return autoreleased(make(row.light, row.name, row.dark));
            }
            return autoreleased(nullptr);
        });
    }
}
