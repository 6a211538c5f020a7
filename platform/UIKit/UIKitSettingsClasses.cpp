// Registers the UIKit classes that settings pages are made of (navigation, tables and
// their controls, visual effects), after UIKit's core classes. The few Foundation
// classes they pass around (index paths, URLs, bundles) are registered here too when
// Foundation has not registered them itself.

#include "Foundation/NSBundle.h"
#include "Foundation/NSIndexPath.h"
#include "Foundation/NSURL.h"
#include "NSAttributedString.h"
#include "UIBarButtonItem.h"
#include "UIBlurEffect.h"
#include "UIControl.h"
#include "UINavigationBar.h"
#include "UINavigationBarAppearance.h"
#include "UINavigationController.h"
#include "UINavigationItem.h"
#include "UISwitch.h"
#include "UITableView.h"
#include "UITableViewCell.h"
#include "UITextField.h"
#include "UIViewControllerContainment.h"
#include "UIVisualEffectView.h"

NSString* NSForegroundColorAttributeName;
NSString* NSFontAttributeName;
NSString* NSBackgroundColorAttributeName;

namespace platform {

void registerUIKitSettingsClasses()
{
    if (objc_getClass("UINavigationController"))
        return;
    NSIndexPath::registerRuntimeClass();
    NSURL::registerRuntimeClass();
    NSBundle::registerRuntimeClass();

    // The keys live as long as the process, like the constants they stand for.
    NSForegroundColorAttributeName = NSString::create("NSForegroundColorAttributeName").leakRef();
    NSFontAttributeName = NSString::create("NSFontAttributeName").leakRef();
    NSBackgroundColorAttributeName = NSString::create("NSBackgroundColorAttributeName").leakRef();

    UIViewControllerContainment::registerCategory();
    UIBarButtonItem::registerRuntimeClass();
    UINavigationBarAppearance::registerRuntimeClass();
    UINavigationItem::registerRuntimeClass();
    UINavigationBar::registerRuntimeClass();
    UINavigationController::registerRuntimeClass();

    UIControl::registerRuntimeClass();
    UISwitch::registerRuntimeClass();
    UITextField::registerRuntimeClass();

    UIBlurEffect::registerRuntimeClass();
    UIVisualEffectView::registerRuntimeClass();

    UITableViewCell::registerRuntimeClass();
    UITableView::registerRuntimeClass();
}

} // namespace platform
