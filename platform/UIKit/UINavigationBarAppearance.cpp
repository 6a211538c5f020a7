#include "UINavigationBarAppearance.h"

objc::RefPtr<UINavigationBarAppearance> UINavigationBarAppearance::create()
{
    return UINavigationBarAppearance::alloc();
}

nlohmann::json UINavigationBarAppearance::jsonValue() const
{
    return {
        { "opaque", m_opaque },
        { "backgroundColor", m_backgroundColor ? m_backgroundColor->jsonValue() : nlohmann::json() },
        { "shadowColor", m_shadowColor ? m_shadowColor->jsonValue() : nlohmann::json() },
        { "titleTextAttributes", m_titleTextAttributes ? m_titleTextAttributes->jsonValue() : nlohmann::json() },
    };
}

void UINavigationBarAppearance::registerRuntimeClass()
{
    objc::defineClass<UINavigationBarAppearance>("UINavigationBarAppearance", NSObject::staticClass());
}
