#include "UIScreen.h"

#include "UIDeviceProfile.h"

UIScreen* UIScreen::mainScreen()
{
    // Made on first use and kept for the life of the process, as the system's is. Not
    // before the class is registered, so an early call cannot keep a classless object.
    static UIScreen* screen = nullptr;
    if (!screen && staticClass())
        screen = UIScreen::alloc().leakRef();
    return screen;
}

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
    objc::defineClass<UIScreen>("UIScreen", NSObject::staticClass());
}
