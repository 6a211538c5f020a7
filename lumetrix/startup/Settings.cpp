#include "Settings.h"

#include "Globals.h"

#include "Cephei/HBPreferences.h"

namespace lumetrix {

void registerSettings()
{
    auto store = HBPreferences::alloc()->initWithIdentifier(NSString::create(kPreferencesIdentifier).get());
    assignStrong(pfs, store.get());

    pfs->registerBool(&enable, true, "enabled"_ns);
    pfs->registerBool(&songtitlebg, false, "songtitlebg"_ns);
    pfs->registerBool(&hidelsplayer, false, "hidelsplayer"_ns);
    pfs->registerBool(&alwaysshow, false, "alwaysshow"_ns);
    pfs->registerBool(&swipetoskip, false, "swipetoskip"_ns);
    pfs->registerObject(&fadeoutspeed, "20.0"_ns, "fadeoutspeed"_ns);
    pfs->registerObject(&barwidth, "140.0"_ns, "barwidth"_ns);
    pfs->registerBool(&dynamicenabled, false, "dynamicenabled"_ns);
    pfs->registerBool(&homebardynamic, true, "homebardynamic"_ns);
    pfs->registerBool(&restorehomebartowhite, true, "restorehomebartowhite"_ns);
}

} // namespace lumetrix
