#pragma once
// The now-playing source that follows a desktop player, made where the bridge is: linked
// into the tests and benchmarks, loaded from libsimmusic.so by lumetrix-sim (which maps
// D-Bus's libraries only when `--music mpris` asks for them).

#include "MusicOption.h"

#include "MediaRemote/NowPlayingSource.h"

#include <memory>

namespace sim {

// Throws when the bridge cannot be loaded or started.
std::unique_ptr<platform::NowPlayingSource> makeMprisNowPlayingSource(const MusicOption&);

} // namespace sim

// libsimmusic.so's entry: a new source the caller owns.
extern "C" platform::NowPlayingSource* lumetrixNewMprisNowPlayingSource(const sim::MusicOption*);
