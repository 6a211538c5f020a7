#pragma once
// What the now-playing application tells its listeners after each change of its record.

namespace platform {

struct NowPlayingChange {
    // Playing became paused or stopped, or the reverse. SpringBoard posts its
    // is-playing notification only then.
    bool playingStateChanged = false;
};

} // namespace platform
