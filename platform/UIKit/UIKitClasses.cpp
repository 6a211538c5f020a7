// Registers UIKit's runtime classes (and those of the frameworks UIKit sits on that have
// no registration of their own: QuartzCore, MaterialKit), superclasses first.

#include "MaterialKit/MTMaterialView.h"
#include "NSLayoutConstraint.h"
#include "NSLayoutDimension.h"
#include "NSLayoutXAxisAnchor.h"
#include "NSLayoutYAxisAnchor.h"
#include "QuartzCore/CALayer.h"
#include "UIColor.h"
#include "UIFont.h"
#include "UIGestureRecognizer.h"
#include "UIImage.h"
#include "UIImageSymbolConfiguration.h"
#include "UIImageView.h"
#include "UILabel.h"
#include "UILayoutGuide.h"
#include "UIProgressView.h"
#include "UIResponder.h"
#include "UIScreen.h"
#include "UISwipeGestureRecognizer.h"
#include "UITapGestureRecognizer.h"
#include "UIView.h"
#include "UIViewController.h"
#include "UIWindow.h"

namespace platform {

void registerUIKitSettingsClasses(); // UIKitSettingsClasses.cpp: navigation, tables and their controls

void registerUIKitClasses()
{
    CALayer::registerRuntimeClass();
    objc::defineClass<UIResponder>("UIResponder", NSObject::staticClass());
    UIScreen::registerRuntimeClass();
    UIColor::registerRuntimeClass();
    UIFont::registerRuntimeClass();
    UIImageSymbolConfiguration::registerRuntimeClass();
    UIImage::registerRuntimeClass();

    NSLayoutAnchor::registerRuntimeClasses();
    NSLayoutConstraint::registerRuntimeClass();
    UILayoutGuide::registerRuntimeClass();

    UIView::registerRuntimeClass();
    UIWindow::registerRuntimeClass();
    UIImageView::registerRuntimeClass();
    UILabel::registerRuntimeClass();
    UIProgressView::registerRuntimeClass();
    UIViewController::registerRuntimeClass();

    UIGestureRecognizer::registerRuntimeClass();
    UITapGestureRecognizer::registerRuntimeClass();
    UISwipeGestureRecognizer::registerRuntimeClass();

    MTMaterialView::registerRuntimeClass();
    registerUIKitSettingsClasses();
}

} // namespace platform
