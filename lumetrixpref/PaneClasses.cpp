// The pane's classes join the runtime when the Settings app loads the bundle, as an
// image's classes do when dyld loads it.

#include "HBAppearanceTarn.h"
#include "lmxRootListController.h"

#include <cstdio>

namespace {

__attribute__((constructor)) void registerPaneClasses()
{
    if (!objc_getClass("HBRootListController") || !objc_getClass("HBAppearanceSettings")) {
        std::fprintf(stderr, "lumetrixpref: CepheiPrefs is not loaded in this process; the pane's classes are not registered\n");
        return;
    }
    if (objc_getClass("lmxRootListController"))
        return;
    HBAppearanceTarn::registerRuntimeClass();
    lmxRootListController::registerRuntimeClass();
}

} // namespace
