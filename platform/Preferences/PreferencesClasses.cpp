// Registers the Preferences framework's classes, after UIKit's.

#include "PSListController.h"
#include "PSSpecifier.h"
#include "PSTableCell.h"

namespace platform {

void registerPreferencesClasses()
{
    if (objc_getClass("PSListController"))
        return;
    PSSpecifier::registerRuntimeClass();
    PSTableCell::registerRuntimeClass();
    PSListController::registerRuntimeClass();
}

} // namespace platform
