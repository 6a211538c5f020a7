// The tweak's single entry point: runs once when SpringBoard loads the library.

#include "Globals.h"
#include "HookTable.h"
#include "LayoutConstants.h"
#include "Settings.h"

namespace {

__attribute__((constructor)) void lumetrixInitialise()
{
    initialStart = false;
    lumetrix::chooseLayoutConstants();
    lumetrix::registerSettings();
    // A change of the master switch takes effect at the next SpringBoard start only.
    if (!enable)
        return;
    lumetrix::installHooks();
}

} // namespace
