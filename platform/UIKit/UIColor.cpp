#include "UIColor.h"

#include <cstdio>

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

objc::RefPtr<UIColor> UIColor::make(UIColorComponents components, std::string name, bool dynamic)
{
    auto color = UIColor::alloc();
    color->m_components = components;
    color->m_name = std::move(name);
    color->m_dynamic = dynamic;
    return color;
}

UIColorComponents UIColor::components() const
{
    if (m_dynamic) {
        // labelColor is the only dynamic colour the platform makes.
        CGFloat level = currentStyle() == UIUserInterfaceStyle::Dark ? 1 : 0;
        return { level, level, level, m_components.alpha };
    }
    return m_components;
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
    auto c = m_components;
    c.alpha = alpha;
    // The result stays dynamic (a label colour made translucent) but is no longer the
    // named system colour.
    return make(c, {}, m_dynamic);
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
    if (m_dynamic || color->m_dynamic)
        return m_dynamic == color->m_dynamic && m_name == color->m_name && m_components.alpha == color->m_components.alpha;
    auto a = m_components;
    auto b = color->m_components;
    return a.red == b.red && a.green == b.green && a.blue == b.blue && a.alpha == b.alpha;
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
        return autoreleased(make({ red, green, blue, alpha }, {}, false));
    });
    objc::addMethod(meta, "colorWithWhite:alpha:", +[](Class, SEL, CGFloat white, CGFloat alpha) {
        return autoreleased(make({ white, white, white, alpha }, {}, false));
    });
    objc::addMethod(meta, "clearColor", +[](Class, SEL) { return autoreleased(make({ 0, 0, 0, 0 }, "clearColor", false)); });
    objc::addMethod(meta, "whiteColor", +[](Class, SEL) { return autoreleased(make({ 1, 1, 1, 1 }, "whiteColor", false)); });
    objc::addMethod(meta, "blackColor", +[](Class, SEL) { return autoreleased(make({ 0, 0, 0, 1 }, "blackColor", false)); });
    // UIKit's grayColor is 50% white.
    objc::addMethod(meta, "grayColor", +[](Class, SEL) { return autoreleased(make({ 0.5, 0.5, 0.5, 1 }, "grayColor", false)); });
    objc::addMethod(meta, "redColor", +[](Class, SEL) { return autoreleased(make({ 1, 0, 0, 1 }, "redColor", false)); });
    objc::addMethod(meta, "labelColor", +[](Class, SEL) { return autoreleased(make({ 0, 0, 0, 1 }, "labelColor", true)); });
}
