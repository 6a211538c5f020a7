// Registers CepheiPrefs' classes, after the Preferences framework's.

#include "HBAppearanceSettings.h"
#include "HBListController.h"
#include "HBRootListController.h"

namespace platform {

void registerCepheiPrefsClasses()
{
    if (objc_getClass("HBListController"))
        return;
    HBAppearanceSettings::registerRuntimeClass();
    HBListController::registerRuntimeClass();
    HBRootListController::registerRuntimeClass();
}

} // namespace platform
