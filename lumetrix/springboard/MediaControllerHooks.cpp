// Every now-playing change: the artwork colour broadcast to the players.

#include "startup/Hooks.h"

namespace lumetrix {

void (*orig_SBMediaController_setNowPlayingInfo)(SBMediaController*, SEL, id);

void hook_SBMediaController_setNowPlayingInfo(SBMediaController* self, SEL _cmd, id info)
{
    orig_SBMediaController_setNowPlayingInfo(self, _cmd, info);
}

} // namespace lumetrix
