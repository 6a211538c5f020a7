#include "UIFont.h"

#include <cstdio>

std::string UIFont::descriptionString() const
{
    char text[96];
    std::snprintf(text, sizeof(text), "<UICTFont: %p> font-family: \".SF UI Text\"; font-weight: %s; font-size: %.2fpt",
        static_cast<const void*>(this), m_bold ? "bold" : "normal", m_pointSize);
    return text;
}

bool UIFont::isEqual(const NSObject* other) const
{
    auto* font = objc_cast<UIFont>(const_cast<NSObject*>(other));
    return font && font->m_pointSize == m_pointSize && font->m_bold == m_bold;
}

void UIFont::registerRuntimeClass()
{
    Class cls = objc::defineClass<UIFont>("UIFont", NSObject::staticClass());
    // Autoreleased, as UIKit's constructors answer.
    static const auto font = [](CGFloat size, bool bold) {
        auto made = UIFont::alloc();
        made->m_pointSize = size;
        made->m_bold = bold;
        return objc_autorelease(made.leakRef());
    };
    objc::addMethod(objc::metaclassOf(cls), "systemFontOfSize:", +[](Class, SEL, CGFloat size) { return font(size, false); });
    objc::addMethod(objc::metaclassOf(cls), "boldSystemFontOfSize:", +[](Class, SEL, CGFloat size) { return font(size, true); });
}
