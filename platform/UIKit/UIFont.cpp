#include "UIFont.h"

#include <cstdio>

objc::RefPtr<UIFont> UIFont::systemFontOfSize(CGFloat size)
{
    auto font = UIFont::alloc();
    font->m_pointSize = size;
    return font;
}

objc::RefPtr<UIFont> UIFont::boldSystemFontOfSize(CGFloat size)
{
    auto font = systemFontOfSize(size);
    font->m_bold = true;
    return font;
}

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
    objc::defineClass<UIFont>("UIFont", NSObject::staticClass());
}
