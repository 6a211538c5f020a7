// Registers UIKit's runtime classes (and the frameworks UIKit sits on that have no
// registration of their own: QuartzCore, MaterialKit), superclasses first.

#include "MaterialKit/MTMaterialView.h"
#include "QuartzCore/CALayer.h"
#include "UIColor.h"
#include "UIResponder.h"
#include "UIScreen.h"
#include "UIView.h"
#include "UIViewController.h"
#include "UIWindow.h"

namespace platform {

void registerUIKitClasses()
{
    CALayer::registerRuntimeClass();
    objc::defineClass<UIResponder>("UIResponder", NSObject::staticClass());
    UIScreen::registerRuntimeClass();
    UIColor::registerRuntimeClass();
    UIView::registerRuntimeClass();
    UIWindow::registerRuntimeClass();
    UIViewController::registerRuntimeClass();
    MTMaterialView::registerRuntimeClass();
}

} // namespace platform
