#include "HBAppearanceTarn.h"

namespace tarn {

// Each colour getter asks UIColor afresh, so a dynamic colour follows the appearance of
// the moment it is read.
id autoreleased(objc::RefPtr<UIColor> color)
{
    return objc_autorelease(color.leakRef());
}

unsigned long largeTitleStyle(HBAppearanceTarn*, SEL)
{
    return HBAppearanceSettingsLargeTitleStyleNever;
}

bool showsNavigationBarShadow(HBAppearanceTarn*, SEL)
{
    return false;
}

id tintColor(HBAppearanceTarn*, SEL)
{
    return autoreleased(HBAppearanceTarn::violet());
}

id statusBarTintColor(HBAppearanceTarn*, SEL)
{
    return autoreleased(UIColor::labelColor());
}

id navigationBarTitleColor(HBAppearanceTarn*, SEL)
{
    return autoreleased(UIColor::whiteColor());
}

id navigationBarTintColor(HBAppearanceTarn*, SEL)
{
    return autoreleased(UIColor::labelColor());
}

id navigationBarBackgroundColor(HBAppearanceTarn*, SEL)
{
    return autoreleased(HBAppearanceTarn::violet());
}

bool translucentNavigationBar(HBAppearanceTarn*, SEL)
{
    return false;
}

} // namespace tarn

objc::RefPtr<UIColor> HBAppearanceTarn::violet()
{
    return UIColor::colorWithRed(0.45, 0.42, 0.75, 1.0);
}

void HBAppearanceTarn::registerRuntimeClass()
{
    Class cls = objc::defineClass<HBAppearanceTarn>("HBAppearanceTarn", HBAppearanceSettings::staticClass());
    objc::addMethod(cls, "largeTitleStyle", &tarn::largeTitleStyle);
    objc::addMethod(cls, "showsNavigationBarShadow", &tarn::showsNavigationBarShadow);
    objc::addMethod(cls, "tintColor", &tarn::tintColor);
    objc::addMethod(cls, "statusBarTintColor", &tarn::statusBarTintColor);
    objc::addMethod(cls, "navigationBarTitleColor", &tarn::navigationBarTitleColor);
    objc::addMethod(cls, "navigationBarTintColor", &tarn::navigationBarTintColor);
    objc::addMethod(cls, "navigationBarBackgroundColor", &tarn::navigationBarBackgroundColor);
    objc::addMethod(cls, "translucentNavigationBar", &tarn::translucentNavigationBar);
}
