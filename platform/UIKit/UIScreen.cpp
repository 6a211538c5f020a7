#include "UIScreen.h"

#include "UIDeviceProfile.h"

CGRect UIScreen::bounds() const
{
    return UIDeviceProfile::current().screenBounds();
}

CGFloat UIScreen::scale() const
{
    return UIDeviceProfile::current().scale;
}

UIEdgeInsets UIScreen::safeAreaInsets() const
{
    return UIDeviceProfile::current().safeAreaInsets;
}

void UIScreen::registerRuntimeClass()
{
    Class cls = objc::defineClass<UIScreen>("UIScreen", NSObject::staticClass());
    objc::addMethod(objc::metaclassOf(cls), "mainScreen", +[](Class, SEL) -> id {
        // Made on first use and kept for the life of the process, as the system's is.
        static UIScreen* screen = UIScreen::alloc().leakRef();
        return screen;
    });
}
