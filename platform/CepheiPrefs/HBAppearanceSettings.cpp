#include "HBAppearanceSettings.h"

namespace {

objc::RefPtr<UIColor> colorFrom(HBAppearanceSettings* settings, SEL getter)
{
    return objc::RefPtr<UIColor>(objc_cast<UIColor>(objc_msgSend<id>(settings, getter)));
}

nlohmann::json jsonOrNull(const UIColor* color)
{
    return color ? color->jsonValue() : nlohmann::json();
}

} // namespace

objc::RefPtr<UIColor> HBAppearanceSettings::tintColor() { return colorFrom(this, "tintColor"_sel); }
objc::RefPtr<UIColor> HBAppearanceSettings::navigationBarTintColor() { return colorFrom(this, "navigationBarTintColor"_sel); }
objc::RefPtr<UIColor> HBAppearanceSettings::navigationBarTitleColor() { return colorFrom(this, "navigationBarTitleColor"_sel); }
objc::RefPtr<UIColor> HBAppearanceSettings::navigationBarBackgroundColor() { return colorFrom(this, "navigationBarBackgroundColor"_sel); }
objc::RefPtr<UIColor> HBAppearanceSettings::statusBarTintColor() { return colorFrom(this, "statusBarTintColor"_sel); }

bool HBAppearanceSettings::translucentNavigationBar()
{
    return objc_msgSend<bool>(this, "translucentNavigationBar"_sel);
}

bool HBAppearanceSettings::showsNavigationBarShadow()
{
    return objc_msgSend<bool>(this, "showsNavigationBarShadow"_sel);
}

HBAppearanceSettingsLargeTitleStyle HBAppearanceSettings::largeTitleStyle()
{
    return static_cast<HBAppearanceSettingsLargeTitleStyle>(objc_msgSend<unsigned long>(this, "largeTitleStyle"_sel));
}

nlohmann::json HBAppearanceSettings::jsonValue() const
{
    auto self = const_cast<HBAppearanceSettings*>(this);
    return {
        { "largeTitleStyle", static_cast<unsigned long>(self->largeTitleStyle()) },
        { "showsNavigationBarShadow", self->showsNavigationBarShadow() },
        { "tintColor", jsonOrNull(self->tintColor().get()) },
        { "statusBarTintColor", jsonOrNull(self->statusBarTintColor().get()) },
        { "navigationBarTitleColor", jsonOrNull(self->navigationBarTitleColor().get()) },
        { "navigationBarTintColor", jsonOrNull(self->navigationBarTintColor().get()) },
        { "navigationBarBackgroundColor", jsonOrNull(self->navigationBarBackgroundColor().get()) },
        { "translucentNavigationBar", self->translucentNavigationBar() },
    };
}

void HBAppearanceSettings::registerRuntimeClass()
{
    Class cls = objc::defineClass<HBAppearanceSettings>("HBAppearanceSettings", NSObject::staticClass());
    objc::addMethod(cls, "tintColor", +[](HBAppearanceSettings* self, SEL) -> id { return self->m_tintColor.get(); });
    objc::addMethod(cls, "navigationBarTintColor", +[](HBAppearanceSettings* self, SEL) -> id { return self->m_navigationBarTintColor.get(); });
    objc::addMethod(cls, "navigationBarTitleColor", +[](HBAppearanceSettings* self, SEL) -> id { return self->m_navigationBarTitleColor.get(); });
    objc::addMethod(cls, "navigationBarBackgroundColor", +[](HBAppearanceSettings* self, SEL) -> id { return self->m_navigationBarBackgroundColor.get(); });
    objc::addMethod(cls, "statusBarTintColor", +[](HBAppearanceSettings* self, SEL) -> id { return self->m_statusBarTintColor.get(); });
    objc::addMethod(cls, "translucentNavigationBar", +[](HBAppearanceSettings* self, SEL) { return self->m_translucentNavigationBar; });
    objc::addMethod(cls, "showsNavigationBarShadow", +[](HBAppearanceSettings* self, SEL) { return self->m_showsNavigationBarShadow; });
    objc::addMethod(cls, "largeTitleStyle", +[](HBAppearanceSettings* self, SEL) { return static_cast<unsigned long>(self->m_largeTitleStyle); });
}
